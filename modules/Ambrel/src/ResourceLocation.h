#ifndef AMBREL_RESOURCE_LOCATION_H
#define AMBREL_RESOURCE_LOCATION_H

#include <string>

// Turns the fmuResourceLocation of fmi2Instantiate into the resource folder:
// a local path ending in '/', to which file names are appended as text.
// Accepted: "file:///path", "file:/path", "file://localhost/path" (escapes
// such as %20 decoded) and a plain path (taken as it is). Another host
// stays in the path as "//host/path". An empty location stays empty.
std::string ResourceLocationToPath(const std::string& fmuResourceLocation);

// True when the location names a folder of this machine: a plain path, or a
// file URI without a host (or with "localhost") whose escapes decode to no
// NUL character. Another scheme (http:, ...), another host and an escaped
// NUL, which would cut the path short, are not.
bool IsLocalResourceLocation(const std::string& fmuResourceLocation);

#endif
