#pragma once
// Whether the file list shows the new names, as the user last chose, kept in
// the user's configuration (~/.config/veltrane/veltrane.conf). On unless turned off.
namespace vt {

bool PreviewWanted();
void RememberPreview(bool on);

}  // namespace vt
