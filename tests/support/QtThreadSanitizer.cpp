// ThreadSanitizer cannot see the lock that guards Qt's event queue: Qt locks
// with futexes of its own and is not built for the sanitizer. An event posted
// from a worker (the file list's names) then looks like a race inside Qt's own
// copying. Accesses made inside Qt are left out; the tests' and the program's
// own are all still checked. Without ThreadSanitizer nothing calls this.
extern "C" const char* __tsan_default_suppressions();
extern "C" const char* __tsan_default_suppressions() { return "called_from_lib:libQt6Core.so.6\n"; }
