#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/mail/helper_library.h"
#include "platform/drive_watch.h"
#include "platform/drives.h"
#include "platform/roots.h"

namespace twk {

// Where the panel learns which drives are present and of which type.
class DriveSource {
public:
    virtual ~DriveSource() = default;
    virtual std::vector<std::string> roots() = 0;
    virtual platform::DriveType type(const std::string& root) = 0;
    // What tells that the drives may have changed; nothing for a source that never changes by
    // itself.
    virtual std::unique_ptr<platform::DriveWatch> watch() { return nullptr; }
};

// How long a page waits after the first sign of a change before it lists the drives again, so
// that a burst (a disk and its partitions, a hub of sticks) makes one rebuild, and a device the
// kernel announces as removed has left sysfs by then. Well within a second.
inline constexpr int kDriveChangeSettleMs = 250;

// The machine's drives, through the platform layer.
class MachineDriveSource : public DriveSource {
public:
    explicit MachineDriveSource(platform::Roots roots = platform::Roots::system());
    std::vector<std::string> roots() override;
    platform::DriveType type(const std::string& root) override;
    std::unique_ptr<platform::DriveWatch> watch() override;

private:
    platform::Roots machine_;
};

// One listed drive: the library's description (text before its NUL) and the root.
struct DriveItem {
    std::string Name;
    std::string Root;
};

// The captions of one visible row: the root label and the name label.
struct DriveRow {
    std::string root;
    std::string name;
    bool operator==(const DriveRow&) const = default;
};

struct DriveRootList {
    std::vector<std::string> roots;
    std::int16_t last = -1;  // number of roots minus 1
};

// Every drive root in order.
DriveRootList list_drives(DriveSource& source);

// The protection page's list of removable drives: a snapshot rebuilt on demand, shown five
// rows at a time from TopIndex.
class DrivePanel {
public:
    static constexpr int kVisibleRows = 5;

    // notDevicesCaption is the text row 0 shows when no drive is listed.
    DrivePanel(DriveSource& source, HelperLibrary& helper, std::string notDevicesCaption);

    // Rebuilds the drive list and the rows.
    void show_drives();
    // One entry further down, while the last entry is below the fifth row; then a rebuild.
    void scrollDown();
    // One entry back up, while not at the first; then a rebuild.
    void scrollUp();
    // Rebuilds after the drives may have changed. The drive on the first row stays there while it
    // is listed; otherwise the page stays where it was, as far as the list still reaches. True
    // when the rows changed.
    bool followDrives();

    int TopIndex() const { return topIndex_; }
    std::int16_t LastIndex() const { return lastIndex_; }
    const std::vector<DriveItem>& drives() const { return drives_; }
    // After a rebuild: one to five rows, row 0 always among them.
    const std::vector<DriveRow>& rows() const { return rows_; }

private:
    std::vector<DriveItem> removableDrives();
    // LastIndex, a TopIndex the list still reaches, and the rows, after the list was read.
    void settle();
    void buildRows();

    DriveSource& source_;
    HelperLibrary& helper_;
    std::string notDevicesCaption_;
    int topIndex_ = 0;
    std::int16_t lastIndex_ = -1;
    std::vector<DriveItem> drives_;
    std::vector<DriveRow> rows_;
};

}  // namespace twk
