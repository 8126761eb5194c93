#pragma once
// The drive list: a drop-down of the mounted volumes, each shown by its
// designation. Choosing another drive, by the user or from code, emits
// changed(); choosing the drive already shown emits nothing.

#include <QComboBox>
#include <string>
#include <vector>

#include "platform/Result.h"
#include "platform/Volumes.h"

namespace farsend {

// Returns a drive's designation as it fits width pixels of fm: the label, by
// which users know a drive, always whole; a mount point too long for the rest
// shortened in its middle, as the selection display shortens a path.
QString fittedDesignation(const Volume& volume, const QFontMetrics& fm, int width);

class DriveListBox : public QComboBox {
    Q_OBJECT
public:
    explicit DriveListBox(IVolumes& volumes, QWidget* parent = nullptr);

    // The designation of the selected drive; empty when there is none.
    std::string Drive() const;
    // Selects the volume that a designation, a mount point or a path on a
    // volume names, in the volume list as it is now. Emits changed() when that is another drive than the one
    // shown. Fails with ENODEV, changing nothing, when no listed volume fits.
    Status setDrive(const std::string& designation);
    // Re-reads the volume list, keeping the selection (a volume that has
    // gone stays listed while it is selected). Emits nothing.
    void reload();
    const std::vector<Volume>& volumeList() const { return volumes_; }

    // The selected drive's designation as the closed list draws it, and the
    // width it has for it.
    QString shownText() const;
    int textRoom() const;

signals:
    void changed();

protected:
    // Volumes come and go while the window is open: the list is read again
    // each time it drops down.
    void showPopup() override;
    // Draws the selected drive fitted to the box (Qt would cut it off).
    void paintEvent(QPaintEvent* event) override;

private:
    void fill(const std::vector<Volume>& volumes, int selected);
    void onIndexChanged(int index);

    IVolumes& source_;
    std::vector<Volume> volumes_;
    int shown_ = -1;
};

}  // namespace farsend
