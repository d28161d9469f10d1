set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
# The plug-in keeps the default compilers (win32 threads: it starts no thread). The tools
# take the POSIX-thread ones, whose standard library has std::thread for the studio's server;
# winpthreads is linked in statically like the rest.
if(KELLHUD_WINDOWS_TOOLS)
    set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
    set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
else()
    set(CMAKE_C_COMPILER i686-w64-mingw32-gcc)
    set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++)
endif()
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
