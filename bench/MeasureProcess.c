/* Runs a command and writes its exit code, wall seconds, CPU seconds (user and system) and peak
 * resident memory in KiB to a file, for bench/run:
 *
 *     MeasureProcess RESULT_FILE COMMAND [ARGUMENT...]
 *
 * A C program of its own because a child's peak counts the memory of the process it was forked
 * from; this one is small, unlike the Python interpreter that drives the runs. */
#define _GNU_SOURCE
#include <stdio.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double Seconds(struct timeval value) { return value.tv_sec + value.tv_usec / 1e6; }

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: MeasureProcess RESULT_FILE COMMAND [ARGUMENT...]\n");
        return 2;
    }
    struct timespec start, end;
    clock_gettime(CLOCK_MONOTONIC, &start);
    const pid_t child = fork();
    if (child < 0) return 2;
    if (child == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    int status = 0;
    struct rusage usage;
    if (wait4(child, &status, 0, &usage) != child) return 2;
    clock_gettime(CLOCK_MONOTONIC, &end);
    FILE* result = fopen(argv[1], "w");
    if (result == NULL) return 2;
    fprintf(result, "%d %.6f %.6f %ld\n", WIFEXITED(status) ? WEXITSTATUS(status) : 128,
            (end.tv_sec - start.tv_sec) + (end.tv_nsec - start.tv_nsec) / 1e9,
            Seconds(usage.ru_utime) + Seconds(usage.ru_stime), usage.ru_maxrss);
    return fclose(result) == 0 ? 0 : 2;
}
