#pragma once
#include <string>
#include <string_view>

#include "library/frt_result.h"
#include "library/safe_file.h"

namespace frt {

// Key-by-key writes of a sectioned settings file, matched the way CIniReader matches:
// the section is the line "[section]" exactly, the key is the first line of that section
// (repeated headers count as one section) that begins with key and '='.
//
//  - The key exists: the text after its '=' is replaced by the value.
//  - The section exists without the key: key=value goes after the section's last non-blank
//    line, so blank lines that set it apart from the next section stay where they are.
//  - Neither: "[section]" and key=value are appended at the end of the file.
//
// Every other byte stays as it was. New lines take the line end the file already uses
// (CR LF when its first line ends so, else LF).
//
// kBadName when the section or key cannot be written as one line that reads back (a line
// break or NUL in it, an empty key, or a key that would read as a comment or a header);
// kBadData when the value holds a line break or NUL.
Result SetIniKeyInText(std::string& text, std::string_view section, std::string_view key,
                       std::string_view value);

// The same on a file, saved safely (see SafeFileWriter): a missing file is created; a failure
// leaves the file as it was and gives kCannotSave, as does a read-only file.
Result WriteIniKey(const std::string& path, std::string_view section, std::string_view key,
                   std::string_view value, FileSystem* fs = nullptr);

}  // namespace frt
