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
// The same, for a name that is free in the other folders too.
File UniqueFileName(const File& folder, const std::vector<File>& alsoFreeIn, std::u16string_view base,
                    std::u16string_view extension);

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
// flushes it to disk and renames it over the file. The temporary has no name while it is
// written (where the file system allows), so a process killed mid-write leaves the old
// file whole and nothing else. On any failure the old file stays as it was, the temporary
// is removed, and config::Error is thrown.
void WriteFileAtomically(const File& file, std::string_view bytes);
// A temporary WriteFileAtomically names ("Name.xml.tmp-123"); a process killed in the
// instant between naming it and renaming it leaves one behind.
bool IsTemporaryName(const File& file);
// Removes the temporaries left in the folder (only those of the file named ofName when it
// is given); returns how many. Call it before the files are used, when no other writer
// works in the folder.
int RemoveStaleTemporaries(const File& folder, std::u16string_view ofName = {});

}  // namespace kivcore::filesupport::FileUtils
