// The picture box as the progress bar's canvas.

#include <QImage>
#include <QTest>

#include "progress/CProgressBar.h"
#include "progress/ui/PictureBox.h"

using namespace farsend;

namespace {

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 160, 0);

// A picture box the size of the main window's, highlight red and buttons green.
struct Box {
    Box() {
        host.resize(300, 40);
        QPalette pal = box.palette();
        pal.setColor(QPalette::Highlight, kRed);
        pal.setColor(QPalette::Button, kGreen);
        box.setPalette(pal);
        box.setGeometry(10, 10, 249, 13);
        host.show();
        (void)QTest::qWaitForWindowExposed(&host);
        bar.setCanvas(&box);
    }
    QWidget host;
    PictureBox& box = *new PictureBox(&host);
    CProgressBar bar;
};

QImage shot(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

}  // namespace

class PictureBoxTest : public QObject {
    Q_OBJECT
private slots:
    void keepsItsPaintingAcrossRepaints() {
        Box b;
        b.bar.setValue(50);  // 15 of 30 blocks, 8 pixels apart from inner x 2
        const QImage before = shot(b.box);
        QCOMPARE(before.pixelColor(1 + 2 + 14 * 8, 1 + 5), kRed);
        QCOMPARE(before.pixelColor(1 + 2 + 15 * 8, 1 + 5), kGreen);
        b.host.hide();
        b.host.show();
        (void)QTest::qWaitForWindowExposed(&b.host);
        b.box.repaint();
        QCOMPARE(shot(b.box), before);
    }

    void mapsColours_data() {
        QTest::addColumn<uint>("ole");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("system 13 is the highlight") << 0x8000000Du << kRed;
        QTest::newRow("system 15 is the button face") << 0x8000000Fu << kGreen;
        QTest::newRow("plain, red in the low byte") << 0x00336699u << QColor(0x99, 0x66, 0x33);
    }

    void mapsColours() {
        QFETCH(uint, ole);
        QFETCH(QColor, expected);
        Box b;
        b.bar.setValue(100);
        b.bar.setForeColor(ole);
        QCOMPARE(shot(b.box).pixelColor(1 + 2, 1 + 3), expected);
    }

    void sameLitCountAsksForNoRepaint() {
        Box b;
        b.bar.setValue(50);
        const int requests = b.box.repaintRequests();
        for (int i = 0; i < 1000; ++i) b.bar.setValue(50 + i % 2);  // 15.3 rounds to 15 as well
        QCOMPARE(b.box.repaintRequests(), requests);
        b.bar.setValue(54);  // 16.2: one more block
        QCOMPARE(b.box.repaintRequests(), requests + 1);
    }

    // The bar repaints only the blocks that change; after any change the box
    // must look exactly as a cleared box painted whole.
    void paintsWhatAFullRepaintPaints_data() {
        QTest::addColumn<QString>("change");
        for (const char* c : {"values", "clear", "wider", "narrower", "colour", "range"})
            QTest::newRow(c) << QString(c);
    }

    void paintsWhatAFullRepaintPaints() {
        QFETCH(QString, change);
        Box b;
        const auto reference = [&] {
            QWidget host;
            auto* box = new PictureBox(&host);
            box->setPalette(b.box.palette());
            box->setGeometry(b.box.geometry());
            CProgressBar full;
            full.setMin(b.bar.Min());
            full.setMax(b.bar.Max());
            full.setForeColor(b.bar.ForeColor());
            full.setBackColor(b.bar.BackColor());
            full.setValue(b.bar.Value());
            full.setCanvas(box);
            return shot(*box);
        };
        int step = 0;
        for (const int value : {3, 50, 51, 100, 100, 97, 64, 12, 12, 30}) {
            b.bar.setValue(value);
            if (++step == 4) {
                if (change == "clear") {
                    b.box.clear();
                } else if (change == "wider") {
                    b.box.setOuterWidth(290);
                    b.bar.ResizeEx();
                } else if (change == "narrower") {
                    b.box.setOuterWidth(120);  // behind the bar's back, then
                    b.bar.setValue(value);
                    b.bar.ResizeEx();
                } else if (change == "colour") {
                    b.bar.setForeColor(0x000000FF);
                } else if (change == "range") {
                    b.bar.setMax(60);
                    b.bar.setMin(-20);
                }
                b.bar.setValue(value);
            }
            if (step >= 4) QCOMPARE(shot(b.box), reference());
        }
    }
};

QTEST_MAIN(PictureBoxTest)
#include "picturebox_uitest.moc"
