/* The least a safe renamer must do, as the yardstick of the rename-pass benchmark:
 * read the whole folder first (so that renamed entries are not met again), then for
 * every entry lstat it, skip what is not a plain file, replace the first SEARCH in
 * its name by REPLACE and rename it with renameat2(RENAME_NOREPLACE), so that
 * nothing is ever overwritten.
 * With --checked it makes instead what the program's rename pass must make per
 * file, and nothing else: no lstat while listing for an entry the folder reports
 * as a regular file, then lstat just before the rename and of the new name after
 * it, so that a folder, FIFO or link swapped in under the name is never left
 * renamed. That is the floor of the program's own rename pass.
 *   bench_bare_rename FOLDER SEARCH REPLACE [--checked] */
#define _GNU_SOURCE
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char** argv) {
  const int checked = argc == 5 && strcmp(argv[4], "--checked") == 0;
  if (argc != 4 && !checked) {
    fprintf(stderr, "usage: %s FOLDER SEARCH REPLACE [--checked]\n", argv[0]);
    return 2;
  }
  const char* search = argv[2];
  const char* replace = argv[3];
  const size_t searchLength = strlen(search);
  const size_t replaceLength = strlen(replace);
  DIR* dir = opendir(argv[1]);
  if (dir == NULL) {
    perror(argv[1]);
    return 2;
  }
  const int fd = dirfd(dir);

  size_t count = 0, capacity = 1024;
  char** names = malloc(capacity * sizeof *names);
  unsigned char* types = malloc(capacity);
  for (struct dirent* entry; (entry = readdir(dir)) != NULL;) {
    if (strcmp(entry->d_name, ".") == 0 || strcmp(entry->d_name, "..") == 0) continue;
    if (count == capacity) {
      names = realloc(names, (capacity *= 2) * sizeof *names);
      types = realloc(types, capacity);
    }
    types[count] = entry->d_type;
    names[count++] = strdup(entry->d_name);
  }

  size_t renamed = 0, failed = 0;
  char target[4096];
  for (size_t i = 0; i < count; ++i) {
    struct stat st;
    const char* name = names[i];
    const int listedRegular = checked && types[i] == DT_REG;
    if (!listedRegular && (fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))) continue;
    const char* hit = strstr(name, search);
    const size_t nameLength = strlen(name);
    if (hit == NULL || nameLength - searchLength + replaceLength >= sizeof target) continue;
    const size_t head = (size_t)(hit - name);
    memcpy(target, name, head);
    memcpy(target + head, replace, replaceLength);
    strcpy(target + head + replaceLength, hit + searchLength);
    struct stat before, after;
    if (checked && (fstatat(fd, name, &before, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(before.st_mode))) {
      ++failed;
      continue;
    }
    if (renameat2(fd, name, fd, target, RENAME_NOREPLACE) != 0)
      ++failed;
    else if (checked && (fstatat(fd, target, &after, AT_SYMLINK_NOFOLLOW) != 0 || after.st_ino != before.st_ino))
      ++failed;
    else
      ++renamed;
  }
  for (size_t i = 0; i < count; ++i) free(names[i]);
  free(names);
  free(types);
  closedir(dir);
  fprintf(stderr, "%zu renamed, %zu failed\n", renamed, failed);
  return failed == 0 ? 0 : 1;
}
