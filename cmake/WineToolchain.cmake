# Builds the program as a winelib application: wineg++ compiles C++ against Wine's Windows
# headers and links native Linux libraries into a module that Wine runs.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER winegcc)
set(CMAKE_CXX_COMPILER wineg++)
set(CMAKE_RC_COMPILER wrc)
# wineg++ -o x writes x.exe and x.exe.so: without the suffix every build relinks.
set(CMAKE_EXECUTABLE_SUFFIX .exe)
set(CMAKE_LIBRARY_ARCHITECTURE x86_64-linux-gnu)
