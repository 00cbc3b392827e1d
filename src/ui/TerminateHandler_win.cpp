// corvane.exe's std::terminate handler. GCC's default one writes the type of an uncaught
// exception to standard error, which a window program has not got, and links the run time's
// name demangler (45 KB, a tenth of the executable) to do so. This one ends the program the
// same way, by abort(), without the text. The dispatcher catches what event handlers throw, so
// only a failure outside them can get here.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
    std::abort();
}

}  // namespace __gnu_cxx
