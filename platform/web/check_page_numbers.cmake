# Stops the build when page.js names a number (Velmora.NAME, in capitals) that web_backend.cpp
# does not hand it at start-up (kPageNumbers): the page would read it as undefined.
#
# Usage: cmake -DPAGE=page.js -DBACKEND=web_backend.cpp -DSTAMP=file -P check_page_numbers.cmake
file(READ "${PAGE}" page)
file(READ "${BACKEND}" backend)
string(REGEX MATCHALL "Velmora\\.[A-Z][A-Z0-9_]*" used "${page}")
list(REMOVE_DUPLICATES used)
set(missing)
foreach(name IN LISTS used)
    string(REPLACE "Velmora." "" name "${name}")
    string(FIND "${backend}" "{\"${name}\"," at)
    if(at EQUAL -1)
        list(APPEND missing "${name}")
    endif()
endforeach()
if(missing)
    list(JOIN missing ", " missing)
    message(FATAL_ERROR "page.js uses numbers that web_backend.cpp does not hand it "
                        "(add them to kPageNumbers): ${missing}")
endif()
file(WRITE "${STAMP}" "")
