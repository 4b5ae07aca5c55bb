# Stops the build unless velmora-sw.js lists exactly the files served beside it, each with the
# digest of the file the build wrote, and names its cache by a digest that every one of them
# feeds: a file left out of the cache name would let a changed build keep an old cache.
#
# Usage: cmake -DOUTPUT_DIR=... -DFILES=a,b,... -P check_service_worker.cmake
string(REPLACE "," ";" served "${FILES}")
file(READ "${OUTPUT_DIR}/velmora-sw.js" worker)
string(REGEX MATCHALL "\"[^\"]+\": \"[0-9a-f]+\"" entries "${worker}")
set(listed "")
set(contents "")
foreach(entry IN LISTS entries)
    string(REGEX REPLACE "\"([^\"]+)\": \"([0-9a-f]+)\"" "\\1" file "${entry}")
    string(REGEX REPLACE "\"([^\"]+)\": \"([0-9a-f]+)\"" "\\2" listed_digest "${entry}")
    file(SHA256 "${OUTPUT_DIR}/${file}" file_digest)
    if(NOT listed_digest STREQUAL file_digest)
        message(FATAL_ERROR "velmora-sw.js lists ${file} with a digest that is not the file's")
    endif()
    list(APPEND listed "${file}")
    string(APPEND contents "${file}:${file_digest}\n")
endforeach()
if(NOT listed STREQUAL served)
    message(FATAL_ERROR "velmora-sw.js keeps ${listed}, but the page is served with ${served}")
endif()
string(SHA256 digest "${contents}")
string(SUBSTRING ${digest} 0 16 digest)
string(FIND "${worker}" "var CACHE = \"velmora-${digest}\";" at)
if(at EQUAL -1)
    message(FATAL_ERROR "velmora-sw.js names its cache by a digest that not every file it keeps "
                        "feeds (expected velmora-${digest})")
endif()
