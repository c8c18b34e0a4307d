/* opendir(), readdir(), rewinddir() and closedir() of gcc mode's dirent.h, on FindFirstFileW and
   FindNextFileW. Names are converted as the C runtime's narrow file functions convert them: in
   UTF-8 under a UTF-8 locale, else in the code page of the file functions (ANSI or OEM), a
   character outside it becoming '?'. */
#define __ZARN_GCC__ 1 /* what declares them */
#include <dirent.h>
#include <errno.h>
#include <locale.h>
#include <stdlib.h>
#include <string.h>
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "runtime_internal.h"

/* ucrtbase.dll's, which Wine's headers do not declare: the current locale's code page. */
_ACRTIMP unsigned int __cdecl ___lc_codepage_func(void);

struct zarn_directory {
    wchar_t* pattern;       /* "<name>\*" */
    HANDLE search;          /* INVALID_HANDLE_VALUE when no search is open */
    WIN32_FIND_DATAW found; /* what readdir gives next, if has_found */
    int has_found;
    int pending_error; /* errno for the readdir after the last entry, when the search failed */
    struct dirent entry;
};

static unsigned file_code_page(void) {
    if (___lc_codepage_func() == CP_UTF8)
        return CP_UTF8;
    return AreFileApisANSI() ? CP_ACP : CP_OEMCP;
}

static int errno_for(DWORD error) {
    switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return EACCES;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return ENOMEM;
    case ERROR_DIRECTORY:
        return ENOTDIR;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return ENOENT;
    default:
        return EIO;
    }
}

/* Starts the search; a directory without entries (a drive's empty root) is no error. */
static int start_search(DIR* directory) {
    directory->search = FindFirstFileW(directory->pattern, &directory->found);
    directory->has_found = directory->search != INVALID_HANDLE_VALUE;
    directory->pending_error = 0;
    if (directory->has_found || GetLastError() == ERROR_FILE_NOT_FOUND)
        return 0;
    errno = errno_for(GetLastError());
    return -1;
}

/* The name in UTF-16, with room for the separator and the "*" of a search pattern. */
static wchar_t* wide_name(const char* name) {
    unsigned code_page = file_code_page();
    int length = MultiByteToWideChar(code_page, 0, name, -1, NULL, 0);
    if (length <= 0) {
        errno = ENOENT;
        return NULL;
    }
    wchar_t* wide = malloc((length + 2) * sizeof(wchar_t));
    if (wide)
        MultiByteToWideChar(code_page, 0, name, -1, wide, length);
    return wide;
}

DIR* __cdecl opendir(const char* name) {
    if (!name || !*name) {
        errno = ENOENT;
        return NULL;
    }
    wchar_t* pattern = wide_name(name);
    if (!pattern)
        return NULL;
    DWORD attributes = GetFileAttributesW(pattern);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        errno = attributes == INVALID_FILE_ATTRIBUTES ? errno_for(GetLastError()) : ENOTDIR;
        free(pattern);
        return NULL;
    }
    wchar_t* end = pattern + wcslen(pattern);
    if (end[-1] != L'\\' && end[-1] != L'/' && end[-1] != L':')
        *end++ = L'\\';
    end[0] = L'*';
    end[1] = 0;
    DIR* directory = calloc(1, sizeof(DIR));
    if (!directory) {
        free(pattern);
        return NULL;
    }
    directory->pattern = pattern;
    if (start_search(directory) != 0) {
        free(pattern);
        free(directory);
        return NULL;
    }
    return directory;
}

struct dirent* __cdecl readdir(DIR* directory) {
    if (!directory) {
        errno = EBADF;
        return NULL;
    }
    if (!directory->has_found) {
        if (directory->pending_error)
            errno = directory->pending_error;
        return NULL;
    }
    struct dirent* entry = &directory->entry;
    /* d_name holds any Windows name: 259 UTF-16 units take at most 777 bytes. */
    int size = WideCharToMultiByte(file_code_page(), 0, directory->found.cFileName, -1,
                                   entry->d_name, sizeof(entry->d_name), NULL, NULL);
    if (size <= 0)
        entry->d_name[0] = 0;
    entry->d_ino = 0;
    entry->d_namlen = (unsigned short)strlen(entry->d_name);
    entry->d_reclen = sizeof(struct dirent);
    directory->has_found = FindNextFileW(directory->search, &directory->found);
    if (!directory->has_found && GetLastError() != ERROR_NO_MORE_FILES)
        directory->pending_error = errno_for(GetLastError());
    return entry;
}

void __cdecl rewinddir(DIR* directory) {
    if (!directory)
        return;
    if (directory->search != INVALID_HANDLE_VALUE)
        FindClose(directory->search);
    if (start_search(directory) != 0)
        directory->pending_error = errno;
}

int __cdecl closedir(DIR* directory) {
    if (!directory) {
        errno = EBADF;
        return -1;
    }
    if (directory->search != INVALID_HANDLE_VALUE)
        FindClose(directory->search);
    free(directory->pattern);
    free(directory);
    return 0;
}
