// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

// Replaces the file at `path` with one holding `text`, so that a reader finds
// the old file or the new one, never a part: the text goes to a new hidden
// file in the same folder (".NAME.XXXXXX", made by mkstemp, so nothing
// planted under a known name is followed), is flushed to the disk and renamed
// over the path. The new file is rw-r--r--. A stop signal (SIGINT, SIGTERM,
// SIGHUP) that comes meanwhile waits for the rename. False with errno set;
// the hidden file is gone again then.
bool ReplaceFile(const std::string& path, const std::string& text);
// Whether the folder of `path` takes the hidden file (made and removed
// again) and the path is no folder; false with errno set.
bool CanReplaceFile(const std::string& path);
