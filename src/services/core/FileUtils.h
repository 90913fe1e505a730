#pragma once
// Operations on folders and whole files.

#include "services/core/File.h"

#include <string>
#include <string_view>
#include <vector>

namespace kivcore::filesupport::FileUtils {

// Full paths of the regular files directly in folder, sorted by name; empty when the
// folder does not exist.
std::vector<File> ContainedFiles(const File& folder);

// A file in folder, named base + "-" + n + extension (extension with its dot) for the
// smallest n >= 1 that does not exist yet.
File UniqueFileName(const File& folder, std::u16string_view base, std::u16string_view extension);

// folder joined with name.
File BuildPathSpec(const File& folder, std::u16string_view name);

// Creates an empty file; false when it exists already or cannot be made.
bool CreateNewFile(const File& file);
// Creates the folder and its missing parents; true when the folder exists afterwards.
bool EnsureDirectoryExists(const File& folder);
// Removes a file, or a folder with everything in it; true when nothing is left there.
bool Remove(const File& fileOrFolder);
// Copies a file; an existing target is replaced only when overwrite is true.
bool Copy(const File& from, const File& to, bool overwrite);
// Gives the owner write permission.
bool ClearReadOnly(const File& file);

// The whole file. Throws config::Error when it cannot be read.
std::string ReadWholeFile(const File& file);
// Replaces the file's content all at once: writes a temporary file in the same folder,
// flushes it to disk and renames it over the file. On any failure the old file stays as
// it was, the temporary file is removed, and config::Error is thrown.
void WriteFileAtomically(const File& file, std::string_view bytes);

}  // namespace kivcore::filesupport::FileUtils
