// Keeps the served edition's files so that, after one visit, the page starts with the network
// gone. Each file is fetched from the network first, so a page never mixes a new velmora.js with
// an old velmora.wasm while the server answers; the kept copies serve only when it does not.
var CACHE = "velmora";
var FILES = ["velmora.html", "velmora.js", "velmora.wasm", "velmora.webmanifest", "velmora.svg",
             "velmora-128.png", "velmora-256.png"];

function kept(url) {
    var name = url.pathname.slice(url.pathname.lastIndexOf("/") + 1);
    return url.origin === location.origin && FILES.indexOf(name) >= 0;
}

self.addEventListener("install", function(event) {
    event.waitUntil(caches.open(CACHE)
                        .then(function(cache) { return cache.addAll(FILES); })
                        .then(function() { return self.skipWaiting(); }));
});

self.addEventListener("activate", function(event) { event.waitUntil(self.clients.claim()); });

self.addEventListener("fetch", function(event) {
    var url = new URL(event.request.url);
    if (event.request.method !== "GET" || !kept(url)) return;
    // One copy of each file, whatever the page's parameters (size=, lab).
    var key = url.origin + url.pathname;
    event.respondWith(fetch(event.request)
                          .then(function(response) {
                              if (response.ok) {
                                  var copy = response.clone();
                                  caches.open(CACHE).then(function(cache) {
                                      return cache.put(key, copy);
                                  });
                              }
                              return response;
                          })
                          .catch(function() {
                              return caches.match(key).then(function(response) {
                                  return response || Response.error();
                              });
                          }));
});
