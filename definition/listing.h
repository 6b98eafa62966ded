// Folder listings: a folder entry becomes a submenu of the files it holds.
#pragma once

#include "core/text.h"

constexpr int kMaxListedFiles = 100;

struct FolderListing {
    char paths[kMaxListedFiles][kPathSize];
    int count;
};

extern FolderListing g_listing;

// Adds the files of folder (and of its subfolders, to folder_depth) whose
// extension is one of filter_exts, in the order the file system gives them,
// until the listing holds 100.
void collect_folder_files(const char *folder);

// Sorts the listing by file name when folder_sort is 1 and appends one Entry
// row per file at level + 1, stopping when the table reaches row 499.
void add_listing_rows(int level);
