#pragma once
// Memory freed after a big piece of work stays with the allocator, resident,
// until the allocator hands it out again; memory that the next piece of work
// takes from elsewhere (another thread's pool, a fresh stretch) adds to it.
namespace vt {

// Gives the free memory the allocator holds back to the system.
void ReturnFreeMemory();

}  // namespace vt
