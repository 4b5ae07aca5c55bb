# Writes velmora-sw.js from its template with a digest of the files it keeps, so that every build
# that changes them changes the service worker, and browsers take the new files.
# Usage: cmake -DTEMPLATE=... -DOUTPUT_DIR=... -P service_worker.cmake
set(contents "")
foreach(file velmora.html velmora.js velmora.wasm velmora.webmanifest)
    file(SHA256 ${OUTPUT_DIR}/${file} file_digest)
    string(APPEND contents ${file_digest})
endforeach()
string(SHA256 digest "${contents}")
string(SUBSTRING ${digest} 0 16 digest)
configure_file(${TEMPLATE} ${OUTPUT_DIR}/velmora-sw.js @ONLY)
