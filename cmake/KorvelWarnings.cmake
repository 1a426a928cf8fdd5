# SPDX-License-Identifier: GPL-3.0-or-later
# Warnings are errors in our own code; third-party headers come in as system includes.
function(korvel_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
        -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual -Werror)
endfunction()
