#pragma once
// file:// URIs to local paths and back, as desktops and playlist files
// hand them over.
#include <optional>
#include <string>
#include <string_view>

namespace kestrafon {

// The local path of a file:// URI ("file:///a%20b" and "file://localhost/a b"
// both give "/a b"); nothing for another scheme, a remote host or a bad escape.
std::optional<std::string> LocalPathFromFileUri(std::string_view uri);

// A file:// URI for an absolute local path, bytes outside the unreserved set
// percent-escaped.
std::string FileUriFromPath(std::string_view path);

}  // namespace kestrafon
