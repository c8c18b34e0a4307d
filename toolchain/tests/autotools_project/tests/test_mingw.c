/* What a project configured for a mingw host expects of its toolchain: its declaration checks
   answered as a compiler that knows no undeclared names answers them, the POSIX headers and
   types mingw's give, a resource compiled in, and intrinsics without processor options. */
#ifdef HAVE_CONFIG_H
#include <config.h>
#endif

#include <dirent.h>
#include <immintrin.h>
#include <intrin.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/types.h>
#include <unistd.h>
#include <windows.h>

#if !HAVE_DECL_STRCHR || HAVE_DECL_STRLCPY
#error "the declaration checks found strlcpy or missed strchr"
#endif
#if !defined(HAVE_SYS_TIME_H) || !defined(HAVE_GETTIMEOFDAY)
#error "configure found no sys/time.h or gettimeofday"
#endif

static int failed;

static void check(int ok, const char* what) {
    if (!ok) {
        printf("failed: %s\n", what);
        failed = 1;
    }
}

/* aesenc of zeros with a zero key gives 0x63 in every byte; byte reversal by pshufb. Called
   only where the processor has the instructions, as a program compiled with cl.exe does. */
static void intrinsics(void) {
    int registers[4];
    __cpuid(registers, 1);
    if (registers[2] & (1 << 25)) {
        __m128i zero = _mm_setzero_si128();
        check(_mm_cvtsi128_si32(_mm_aesenc_si128(zero, zero)) == 0x63636363, "aesenc");
    }
    if (registers[2] & (1 << 9)) {
        __m128i bytes = _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
        __m128i reverse = _mm_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
        check(_mm_cvtsi128_si32(_mm_shuffle_epi8(bytes, reverse)) == 0x0c0d0e0f, "pshufb");
    }
}

int main(void) {
    struct timeval now;
    check(gettimeofday(&now, NULL) == 0 && now.tv_sec > 1600000000 && now.tv_usec < 1000000,
          "gettimeofday");

    int found = 0;
    DIR* directory = opendir("tests");
    check(directory != NULL, "opendir");
    for (struct dirent* entry; directory && (entry = readdir(directory));)
        found += strcmp(entry->d_name, "test_mingw.c") == 0 && entry->d_namlen == 12;
    check(directory && closedir(directory) == 0 && found == 1, "readdir, closedir");
    check(opendir("tests/test_mingw.c") == NULL, "opendir of a file");

    check(access("tests/test_mingw.c", R_OK) == 0 && access("tests/none", F_OK) == -1, "access");
    mode_t mode = S_IRUSR | S_IWUSR | S_IRGRP;
    ssize_t size = -1;
    pid_t process = 1;
    check(mode == (_S_IREAD | _S_IWRITE) && size < 0 && process == 1, "mode_t, ssize_t, pid_t");
    check(strcasecmp("Calc", "cALC") == 0 && strncasecmp("ab", "AC", 1) == 0, "strcasecmp");

    char text[64] = "";
    LoadStringA(GetModuleHandleA(NULL), 1, text, sizeof text);
    check(strcmp(text, "calc resources") == 0, "the resource's string");

    intrinsics();
    if (!failed)
        puts("mingw extras: all checks passed");
    return failed;
}
