#pragma once
// A real simulation pass for the pictures: the window's side of Simulate (clear
// the table, grey text, run controls off, the pass on a worker, the Result
// page), over the search settings shown on the Control page.
namespace vt {

class TForm1;

// Runs the simulation over the window's current folder and masks with the
// Search/Replace settings in its controls; returns once the pass has ended and
// its thread is gone. False if it did not end within a minute.
bool SimulateSearchReplace(TForm1& form);

}  // namespace vt
