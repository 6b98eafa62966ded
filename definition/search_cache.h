// Program resolution from folder listings: each folder of a search order is
// read once per run, and every plain name is answered from memory with what
// asking the file system would have answered.
#pragma once

#include <cstddef>

// Forgets every listing and order: files may have changed since they were read.
void search_cache_reset();

// 0 makes every question go to the file system (the resolution as it was,
// to compare against); 1, the default, answers from listings.
void search_cache_use(int on);

// Whether name (plain, relative to the current folder, or a whole path)
// exists, as plat_exists would say: 1 yes, 0 no, -1 when only the file
// system can tell.
int search_cache_exists(const char *name);

// Whether a whole path is a folder, as plat_is_directory would say: 1 yes,
// 0 no, -1 when only the file system can tell.
int search_cache_is_directory(const char *path);

// What plat_search_path(folders, name, ...) would answer (folders null: the
// system's default order): 1 with the full path in out (out_size bytes), 0
// not found, -1 when only the file system can tell.
int search_cache_search(const char *folders, const char *name, char *out, size_t out_size);
