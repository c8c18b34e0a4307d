/* The floor for zarn's per-run cost: a minimal C program that starts the tool given as its
   arguments, waits for it and returns its status. Usage: spawn_floor TOOL [ARGS...] */
#include <spawn.h>
#include <stdio.h>
#include <sys/wait.h>

extern char** environ;

int main(int argc, char** argv) {
    pid_t child;
    int status;
    if (argc < 2)
        return 2;
    if (posix_spawnp(&child, argv[1], NULL, NULL, argv + 1, environ) != 0) {
        perror("posix_spawnp");
        return 1;
    }
    if (waitpid(child, &status, 0) < 0) {
        perror("waitpid");
        return 1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
