# Warnings for our own sources only: JUCE's module sources compile into the same
# static library and are not ours to fix.
set(ORVO_WARNING_FLAGS
    -Wall -Wextra -Wpedantic -Wshadow -Wsign-compare -Wsign-conversion
    -Wunused-parameter -Wuninitialized -Wunreachable-code -Wcast-align
    -Wswitch-enum -Wredundant-decls -Wno-ignored-qualifiers
    -Wno-implicit-fallthrough -Wno-maybe-uninitialized
    $<$<COMPILE_LANGUAGE:CXX>:-Woverloaded-virtual -Wreorder -Wzero-as-null-pointer-constant>)

# orvo_add_sources(target file...): adds the files to the target and compiles
# them with the project's warning flags.
function(orvo_add_sources target)
    set(files)
    foreach(file IN LISTS ARGN)
        get_filename_component(path "${file}" ABSOLUTE)
        list(APPEND files "${path}")
    endforeach()
    target_sources(${target} PRIVATE ${files})
    set_source_files_properties(${files} TARGET_DIRECTORY ${target}
        PROPERTIES COMPILE_OPTIONS "${ORVO_WARNING_FLAGS}")
endfunction()
