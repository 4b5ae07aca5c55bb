# Writes velmora-sw.js from its template: the list of the files it keeps, each with the SHA-256
# digest of what this build wrote, and a cache name made from all of them, so that every build
# that changes any of them changes the service worker, and browsers take the new files.
# Usage: cmake -DTEMPLATE=... -DOUTPUT_DIR=... -DFILES=a,b,... -P service_worker.cmake
string(REPLACE "," ";" files "${FILES}")
set(entries "")
set(contents "")
foreach(file IN LISTS files)
    file(SHA256 ${OUTPUT_DIR}/${file} file_digest)
    string(APPEND entries "    \"${file}\": \"${file_digest}\",\n")
    string(APPEND contents "${file}:${file_digest}\n")
endforeach()
string(SHA256 digest "${contents}")
string(SUBSTRING ${digest} 0 16 digest)
configure_file(${TEMPLATE} ${OUTPUT_DIR}/velmora-sw.js @ONLY)
