#include "core/protection/drive_panel.h"

#include <algorithm>
#include <utility>

namespace twk {
namespace {

constexpr size_t kDescriptionBufferChars = 255;

}  // namespace

MachineDriveSource::MachineDriveSource(platform::Roots roots) : machine_(std::move(roots)) {}

std::vector<std::string> MachineDriveSource::roots() { return platform::driveRoots(machine_); }

platform::DriveType MachineDriveSource::type(const std::string& root) {
    return platform::driveType(machine_, root);
}

std::unique_ptr<platform::DriveWatch> MachineDriveSource::watch() {
    return std::make_unique<platform::DriveWatch>(machine_);
}

DriveRootList list_drives(DriveSource& source) {
    DriveRootList list;
    list.roots = source.roots();
    list.last = static_cast<std::int16_t>(list.roots.size() - 1);
    return list;
}

DrivePanel::DrivePanel(DriveSource& source, HelperLibrary& helper, std::string notDevicesCaption)
    : source_(source), helper_(helper), notDevicesCaption_(std::move(notDevicesCaption)) {}

std::vector<DriveItem> DrivePanel::removableDrives() {
    std::vector<DriveItem> items;
    for (const std::string& root : list_drives(source_).roots) {
        if (source_.type(root) != platform::DriveType::Removable) continue;
        // The library may rewrite both strings; the listed root stays the one enumerated.
        std::string rootCopy = root;
        std::string buffer(kDescriptionBufferChars, ' ');
        if (helper_.GetDriveInfoByPath(rootCopy, buffer) != 1) continue;
        items.push_back({buffer.substr(0, buffer.find('\0')), root});
    }
    return items;
}

void DrivePanel::show_drives() {
    drives_ = removableDrives();
    settle();
}

void DrivePanel::settle() {
    lastIndex_ = static_cast<std::int16_t>(drives_.size() - 1);
    // Drives removed since the last rebuild must not leave the rows short or empty.
    topIndex_ = std::clamp(topIndex_, 0, std::max(0, lastIndex_ - (kVisibleRows - 1)));
    buildRows();
}

bool DrivePanel::followDrives() {
    const std::vector<DriveRow> shownBefore = rows_;
    const std::string firstShown =
        drives_.empty() ? std::string() : drives_[static_cast<size_t>(topIndex_)].Root;
    drives_ = removableDrives();
    const auto stillListed = std::find_if(drives_.begin(), drives_.end(),
                                          [&](const DriveItem& d) { return d.Root == firstShown; });
    if (stillListed != drives_.end()) topIndex_ = static_cast<int>(stillListed - drives_.begin());
    settle();
    return rows_ != shownBefore;
}

void DrivePanel::buildRows() {
    rows_.clear();
    if (drives_.empty()) {
        rows_.push_back({notDevicesCaption_, ""});
        return;
    }
    const int stop = std::min(topIndex_ + kVisibleRows - 1, static_cast<int>(lastIndex_));
    for (int k = topIndex_; k <= stop; ++k) rows_.push_back({drives_[k].Root, drives_[k].Name});
}

void DrivePanel::scrollDown() {
    if (topIndex_ + kVisibleRows - 1 < lastIndex_) ++topIndex_;
    show_drives();
}

void DrivePanel::scrollUp() {
    if (topIndex_ - 1 >= 0) --topIndex_;
    show_drives();
}

}  // namespace twk
