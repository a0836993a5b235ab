# Warning flags, platform settings and hardening shared by every target of
# the project.
add_compile_options(-Wall -Wextra)

# Hardening that every shipped binary carries: a stack protector on every
# function with a local array or address-taken local, and position-
# independent code (PIE programs, so ASLR moves them too).
add_compile_options(-fstack-protector-strong)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported()

if(WIN32)
    # Unicode Win32 API, no min/max macros, Windows 7 as the oldest target.
    add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601)
    # Self-contained executables: no MinGW runtime DLLs needed under Wine.
    # ASLR with 64-bit entropy and DEP; the stack protector's runtime comes
    # from libssp, linked statically like the rest.
    add_link_options(-static -Wl,--dynamicbase -Wl,--high-entropy-va -Wl,--nxcompat
                     -fstack-protector-strong)
else()
    # Indirect-branch tracking and shadow-stack markers, checked length for
    # the C library's memory and string calls (it needs optimisation), full
    # RELRO and a non-executable stack. The compiler's switches are recorded
    # in each binary, where scripts/check-hardening reads them.
    add_compile_options(-fcf-protection -frecord-gcc-switches)
    add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
    add_link_options(-Wl,-z,relro,-z,now -Wl,-z,noexecstack)
endif()

# The widget libraries include the same Qt headers in nearly every file; a
# precompiled header per library parses them once.
function(ko_precompile_widget_headers target)
    target_precompile_headers(${target} PRIVATE
        <QAccessible> <QLabel> <QMouseEvent> <QPainter> <QString> <QWidget> <string> <vector>)
endfunction()
