// The picture box as the progress bar's canvas: painting that survives
// repaints, system and plain colours, and no repaint for a bar that shows
// what it already shows.

#include <QEvent>
#include <QImage>
#include <QTest>

#include "progress/CProgressBar.h"
#include "progress/ui/PictureBox.h"
#include "support/ui/MainHarness.h"

using namespace farsend;

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 160, 0);

// A picture box the size of the main window's, with a palette whose
// highlight and button colours are easy to tell apart.
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
    }
    QWidget host;
    PictureBox& box = *new PictureBox(&host);
    CProgressBar bar;
};

// The widget as it shows on screen.
QImage shot(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

}  // namespace

class PictureBoxTest : public QObject {
    Q_OBJECT
private slots:
    void keepsItsPaintingAcrossRepaints() {
        Box b;
        b.bar.setCanvas(&b.box);
        // Inner 247 x 11: blocks 7 high and 5 wide, 30 of them in 243 pixels.
        QCOMPARE(b.box.width(), 245);
        QCOMPARE(b.box.x(), 10);
        b.bar.setValue(50);

        const QImage before = shot(b.box);
        // Inside the frame: block 1 starts at inner x 2, block 15 (the first unlit) at 2 + 15 * 8.
        QCOMPARE(before.pixelColor(1 + 2, 1 + 5), kRed);
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
        QTest::newRow("red") << 0x000000FFu << QColor(255, 0, 0);
        QTest::newRow("green") << 0x0000FF00u << QColor(0, 255, 0);
        QTest::newRow("blue") << 0x00FF0000u << QColor(0, 0, 255);
        QTest::newRow("mixed") << 0x00336699u << QColor(0x99, 0x66, 0x33);
    }

    void mapsColours() {
        QFETCH(uint, ole);
        QFETCH(QColor, expected);
        Box b;
        QCOMPARE(b.box.resolve(ole), expected);
        b.bar.setCanvas(&b.box);
        b.bar.setValue(100);
        b.bar.setForeColor(ole);
        QCOMPARE(shot(b.box).pixelColor(1 + 2, 1 + 3), expected);
    }

    void sameLitCountAsksForNoRepaint() {
        Box b;
        PaintCounter counter;
        b.box.installEventFilter(&counter);
        b.bar.setCanvas(&b.box);
        b.bar.setValue(50);  // 15 of 30 lit
        QCoreApplication::processEvents();
        const int requests = b.box.repaintRequests();
        const int paints = counter.paints;

        for (int i = 0; i < 20000; ++i) b.bar.setValue(50 + i % 2);  // 15.3 rounds to 15 as well
        QCoreApplication::processEvents();
        QCOMPARE(b.box.repaintRequests(), requests);
        QCOMPARE(counter.paints, paints);

        b.bar.setValue(54);  // 16.2: one more block
        QCOMPARE(b.box.repaintRequests(), requests + 1);
        QTRY_VERIFY(counter.paints > paints);
    }

    // The bar repaints only the blocks whose colour changes while the box
    // vouches for its pixels; after every kind of change the box must look
    // exactly as after a full repaint of a cleared box.
    void paintsWhatAFullRepaintPaints_data() {
        QTest::addColumn<QString>("change");
        for (const char* c :
             {"values", "palette", "outside fill", "clear", "wider", "narrower", "colour", "range", "other bar"})
            QTest::newRow(c) << QString(c);
    }

    void paintsWhatAFullRepaintPaints() {
        QFETCH(QString, change);
        Box b;
        b.bar.setCanvas(&b.box);
        CProgressBar other;
        const auto reference = [&] {
            // A box of the same size and palette, cleared and painted whole.
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
                // One change part way, then the same value and others again.
                if (change == "palette") {
                    QPalette pal = b.box.palette();
                    pal.setColor(QPalette::Highlight, Qt::blue);
                    b.box.setPalette(pal);
                } else if (change == "outside fill") {
                    b.box.setForeColor(0x00FF00FF);
                    b.box.fillRect(10, 2, 15, 8);  // over the second block, lit at this point
                } else if (change == "clear") {
                    b.box.clear();
                } else if (change == "wider") {
                    b.box.setOuterWidth(290);
                    b.bar.ResizeEx();
                } else if (change == "narrower") {
                    b.box.setOuterWidth(120);  // behind the bar's back, then
                    b.bar.setValue(value);
                    b.bar.ResizeEx();
                } else if (change == "colour") {
                    // (A new back colour would leave the gaps in the old one.)
                    b.bar.setForeColor(0x000000FF);
                } else if (change == "range") {
                    b.bar.setMax(60);
                    b.bar.setMin(-20);
                } else if (change == "other bar") {
                    other.setCanvas(&b.box);  // a second painter on the same box
                    other.setValue(80);
                }
                b.bar.setValue(value);
            }
            if (step >= 4) QCOMPARE(shot(b.box), reference());
        }
    }

    void tinyBoxesPaintNothingOutside() {
        Box b;
        b.box.setGeometry(10, 10, 40, 5);  // inner height 3: no block fits
        b.bar.setCanvas(&b.box);
        b.bar.setValue(100);
        QCOMPARE(b.bar.layout().BlockCount, std::int16_t{0});
        QCOMPARE(b.box.width(), 40);
        const QImage frameOnly = shot(b.box);

        b.box.setForeColor(0x000000FF);
        b.box.fillRect(-5, -5, 1000, 1000);  // cut to the inner area
        const QImage filled = shot(b.box);
        QCOMPARE(filled.pixelColor(1, 1), kRed);
        QCOMPARE(filled.pixelColor(38, 3), kRed);
        for (const QPoint& edge : {QPoint(0, 0), QPoint(39, 4), QPoint(0, 4), QPoint(39, 0), QPoint(20, 0)})
            QCOMPARE(filled.pixelColor(edge), frameOnly.pixelColor(edge));

        b.box.setOuterWidth(1);
        QCOMPARE(b.box.width(), 2);
        QCOMPARE(b.box.innerWidth(), 0.0);
        b.bar.setValue(0);
        b.bar.refresh(true);
        QCOMPARE(shot(b.box).size(), QSize(2, 5));
    }

    void mainWindowAttachesItsBar() {
        test::MainHarness h;
        frmFSMain& w = h.create({});
        QVERIFY(!w.cpbProgress);
        w.attachProgressBar();
        QVERIFY(w.cpbProgress);
        QCOMPARE(w.cpbProgress->Canvas(), static_cast<ICanvas*>(w.picProgress));
        QCOMPARE(w.picProgress->width(), 245);
        CProgressBar* first = w.cpbProgress.get();
        w.attachProgressBar();
        QCOMPARE(w.cpbProgress.get(), first);
    }
};

QTEST_MAIN(PictureBoxTest)
#include "picturebox_uitest.moc"
