# Writes the bytes of INPUT as a C++ character array named NAME to OUTPUT, so that a file the
# program ships can also be built into it and never drift from it. Run with cmake -P.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
get_filename_component(source "${INPUT}" NAME)
file(WRITE "${OUTPUT}.new" "// Made from ${source} at build time (cmake/EmbedBytes.cmake): edit that file instead.\n#pragma once\n\ninline constexpr char ${NAME}[] = {\n    ${bytes}};\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
