#pragma once
// Reading and writing property lists as XML, in strings and in files.
//
// The form: a root element "proplist" whose children are one element per value, named
// after the type ("string", "text", "bool", "int", "flags", "float", "rect", "ints",
// "bools", "strings", "list"), with the key in attribute "k" and the value in attribute "v"
// ("list" nests its values; "strings" holds one "s" element per item). A key or text that
// XML cannot carry exactly (NUL, malformed UTF-8, unpaired surrogates) goes as hex into
// "khex" or "vhex" instead (text as big-endian UTF-16 units); a NaN float keeps its bit
// pattern in attribute "bits". Every key and value therefore reads back exactly.

#include "services/core/PropList.h"

#include <string>
#include <string_view>

namespace kivcore::filesupport {
class File;
}

namespace kivcore::proplist::utils {

// asFile adds the XML declaration and indentation; otherwise the output is one line.
std::string WritePropListXML(const PropList& list, bool asFile);

// Parses an XML fragment. Throws config::Error naming what is wrong, never crashes.
PropList ReadPropList(std::string_view xml);

// Whole files. Loading throws config::Error for a missing, unreadable or malformed file;
// saving writes atomically (the old file stays whole on failure) and throws on failure.
PropList LoadPropList(const filesupport::File& file);
void SavePropList(const PropList& list, const filesupport::File& file);

}  // namespace kivcore::proplist::utils
