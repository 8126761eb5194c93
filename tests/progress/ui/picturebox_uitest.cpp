// The picture box as the progress bar's canvas.
#include <QImage>
#include <QTest>

#include "progress/CProgressBar.h"
#include "progress/ui/PictureBox.h"

using namespace farsend;

// A picture box the size of the main window's, highlight red and buttons green.
struct Box {
    Box() {
        QPalette pal = box.palette();
        pal.setColor(QPalette::Highlight, Qt::red);
        pal.setColor(QPalette::Button, Qt::green);
        box.setPalette(pal);
        box.setGeometry(10, 10, 249, 13);
        host.show(), (void)QTest::qWaitForWindowExposed(&host);
        bar.setCanvas(&box);
    }
    QWidget host;
    PictureBox& box = *new PictureBox(&host);
    CProgressBar bar;
    QImage shot() { return box.grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

class PictureBoxTest : public QObject {
    Q_OBJECT
private slots:
    // Painting survives the window being hidden and shown; system colours
    // come from the box's palette, plain ones are 0x00BBGGRR; painting what
    // is there already (a value that lights as many blocks as before) leaves
    // the pixels alone.
    void keepsItsPaintingInItsColours() {
        Box b;
        b.bar.setValue(50);  // 15 of 30 blocks, 8 pixels apart from inner x 2
        const QImage before = b.shot();
        b.host.hide(), b.host.show(), (void)QTest::qWaitForWindowExposed(&b.host), b.box.repaint();
        QCOMPARE(b.shot(), before);
        QStringList seen{before.pixelColor(1 + 2 + 14 * 8, 6).name(), before.pixelColor(1 + 2 + 15 * 8, 6).name()};
        for (const OleColor colour : {kColorButtonFace, 0x00336699u})
            b.bar.setForeColor(colour), seen << b.shot().pixelColor(3, 4).name();
        const std::uint64_t version = b.box.pixelsVersion();
        b.box.setForeColor(b.bar.ForeColor()), b.box.fillRect(2, 2, 5, 6);  // lit already
        for (const int value : {51, 50, 51}) b.bar.setValue(value);
        seen << QString::number(b.box.pixelsVersion() - version);
        b.bar.setValue(54);  // one more
        seen << QString::number(b.box.pixelsVersion() > version);
        QCOMPARE(seen.join(' '), "#ff0000 #00ff00 #00ff00 #996633 0 1");
    }

    // The bar repaints only the blocks that change; after any change the box
    // must look exactly as when the same state is painted whole.
    void paintsWhatAFullRepaintPaints() {
        for (const QString change : {"values", "clear", "wider", "narrower", "colour", "range"}) {
            Box b;
            for (const int value : {3, 50, 51}) b.bar.setValue(value);
            if (change == "clear") b.box.clear();
            if (change == "wider" || change == "narrower")  // behind the bar's back, then told
                b.box.setOuterWidth(change == "wider" ? 290 : 120), b.bar.setValue(51), b.bar.ResizeEx();
            if (change == "colour") b.bar.setForeColor(0x000000FF);
            if (change == "range") b.bar.setMax(60), b.bar.setMin(-20);
            for (const int value : {100, 100, 97, 64, 12, 12, 30}) {
                b.bar.setValue(value);
                const QImage painted = b.shot();
                b.bar.refresh(true);  // the same state painted whole
                QVERIFY2(b.shot() == painted, qPrintable(change));
            }
        }
    }
};

QTEST_MAIN(PictureBoxTest)
#include "picturebox_uitest.moc"
