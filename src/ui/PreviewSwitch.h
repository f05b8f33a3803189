#pragma once
// Whether the file list shows the new names, as the user last chose, kept in
// the user's configuration (~/.config/veltrane/veltrane.conf). Off until turned on:
// at the largest folders it still holds the window longer than a frame.
namespace vt {

bool PreviewWanted();
void RememberPreview(bool on);

}  // namespace vt
