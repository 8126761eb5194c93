#pragma once
// The drive list: a drop-down of the mounted volumes, each shown by its
// designation. Choosing another drive, by the user or from code, emits
// changed(); choosing the drive already shown emits nothing.

#include <QComboBox>
#include <string>
#include <vector>

#include "platform/Volumes.h"

namespace farsend {

class DriveListBox : public QComboBox {
    Q_OBJECT
public:
    explicit DriveListBox(IVolumes& volumes, QWidget* parent = nullptr);

    // The designation of the selected drive.
    std::string Drive() const;
    // Selects the volume that designation (or a path on it) names. Emits
    // changed() when that is another drive than the one shown.
    void setDrive(const std::string& designation);
    // Re-reads the volume list, keeping the selection where it can.
    void reload();
    const std::vector<Volume>& volumeList() const { return volumes_; }

signals:
    void changed();

private:
    IVolumes& source_;
    std::vector<Volume> volumes_;
    int shown_ = -1;
};

}  // namespace farsend
