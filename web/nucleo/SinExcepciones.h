#pragma once
// Forced into every file of the module, built without exceptions (-fno-exceptions): the few
// handlers of the shared code, all for std::bad_alloc or a thread that would not start, compile
// as plain blocks. There a failed allocation ends the module instead; the page's worker then
// starts again, and the picture on show stays.
#define try if (true)
#define catch(...) if (false)
