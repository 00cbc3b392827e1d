# Warnings as errors on our own code only: GoogleTest and libjpeg never link this target.
add_library(corvane_warnings INTERFACE)
target_compile_options(corvane_warnings INTERFACE -Wall -Wextra -Werror)
# GCC 12 reports -Wrestrict on std::string concatenation inlined at -O2 (GCC bug 105651), a false
# positive in libstdc++ itself, not in our code.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
   AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(corvane_warnings INTERFACE -Wno-restrict)
endif()
if(CORVANE_SANITIZE)
    target_compile_options(corvane_warnings INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(corvane_warnings INTERFACE -fsanitize=address,undefined)
endif()
