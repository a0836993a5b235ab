# Warning flags and platform settings shared by every target of the project.
add_compile_options(-Wall -Wextra)

if(WIN32)
    # Unicode Win32 API, no min/max macros, Windows 7 as the oldest target.
    add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601)
    # Self-contained executables: no MinGW runtime DLLs needed under Wine.
    add_link_options(-static)
endif()
