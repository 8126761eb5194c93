// The picture box as the progress bar's canvas, watched from a test-side
// subclass that counts the box's paint events.
#include <QImage>
#include <QTest>

#include "progress/CProgressBar.h"
#include "progress/ui/PictureBox.h"

using namespace farsend;

namespace {

class CountingBox final : public PictureBox {
public:
    using PictureBox::PictureBox;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* event) override { ++paints, PictureBox::paintEvent(event); }
};

// A picture box the size of the main window's, highlight red and buttons green.
struct Box {
    explicit Box(bool shown = true) {
        QPalette pal = box.palette();
        pal.setColor(QPalette::Highlight, Qt::red);
        pal.setColor(QPalette::Button, Qt::green);
        box.setPalette(pal);
        box.setGeometry(10, 10, 249, 13);
        if (shown) host.show(), (void)QTest::qWaitForWindowExposed(&host);
        bar.setCanvas(&box);
    }
    QWidget host;
    CountingBox& box = *new CountingBox(&host);
    CProgressBar bar;
    QImage shot() { return box.grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

}  // namespace

class PictureBoxTest : public QObject {
    Q_OBJECT
private slots:
    // Painting survives the window being hidden and shown; system colours
    // come from the box's palette, plain ones are 0x00BBGGRR; painting what
    // is there already (a value that lights as many blocks as before) costs
    // no repaint.
    void keepsItsPaintingInItsColours() {
        Box b;
        b.bar.setValue(50);  // 15 of 30 blocks, 8 pixels apart from inner x 2
        const QImage before = b.shot();
        b.host.hide(), b.host.show(), (void)QTest::qWaitForWindowExposed(&b.host), b.box.repaint();
        QCOMPARE(b.shot(), before);
        QStringList seen{before.pixelColor(1 + 2 + 14 * 8, 6).name(), before.pixelColor(1 + 2 + 15 * 8, 6).name()};
        for (const OleColor colour : {kColorButtonFace, 0x00336699u})
            b.bar.setForeColor(colour), seen << b.shot().pixelColor(3, 4).name();
        QCoreApplication::processEvents();
        const int paints = b.box.paints;
        b.box.setForeColor(b.bar.ForeColor()), b.box.fillRect(2, 2, 5, 6);  // lit already
        for (const int value : {51, 50, 51, 54})
            b.bar.setValue(value), QCoreApplication::processEvents();  // 54: one more
        QCOMPARE(seen.join(' ') + QString(" %1").arg(b.box.paints - paints), "#ff0000 #00ff00 #00ff00 #996633 1");
    }

    // The bar repaints only the blocks that change; after any change the box
    // must look exactly as a box of the same state painted whole.
    void paintsWhatAFullRepaintPaints() {
        for (const QString change : {"values", "clear", "wider", "narrower", "colour", "range"}) {
            Box b;
            int step = 0;
            for (const int value : {3, 50, 51, 100, 100, 97, 64, 12, 12, 30}) {
                b.bar.setValue(value);
                if (++step == 4) {
                    if (change == "clear") b.box.clear();
                    if (change == "wider" || change == "narrower") {
                        b.box.setOuterWidth(change == "wider" ? 290 : 120);  // behind the bar's back, then
                        b.bar.setValue(value), b.bar.ResizeEx();
                    }
                    if (change == "colour") b.bar.setForeColor(0x000000FF);
                    if (change == "range") b.bar.setMax(60), b.bar.setMin(-20);
                    b.bar.setValue(value);
                }
                if (step < 4) continue;
                Box whole(false);
                whole.box.setGeometry(b.box.geometry());
                whole.bar.setMin(b.bar.Min()), whole.bar.setMax(b.bar.Max()), whole.bar.setForeColor(b.bar.ForeColor());
                whole.bar.setValue(value), whole.bar.setCanvas(&whole.box);
                QVERIFY2(b.shot() == whole.shot(), qPrintable(change));
            }
        }
    }
};

QTEST_MAIN(PictureBoxTest)
#include "picturebox_uitest.moc"
