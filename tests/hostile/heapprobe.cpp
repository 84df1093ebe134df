/*
 * Shows that the heap checker sees what it is run for: with "overrun" it
 * writes two bytes past a heap block, with "double-free" it frees a block
 * twice, with "crash" it writes through a null pointer; without an
 * argument it does none of these.
 */
#include <windows.h>

#include <string.h>

int main(int argc, char **argv)
{
    const char *mode = argc > 1 ? argv[1] : "";
    HANDLE heap = GetProcessHeap();
    char *block = static_cast<char *>(HeapAlloc(heap, 0, 10));
    volatile size_t length = strcmp(mode, "overrun") == 0 ? 12 : 10;
    memset(block, 'x', length);
    HeapFree(heap, 0, block);
    if (strcmp(mode, "double-free") == 0)
        HeapFree(heap, 0, block);
    if (strcmp(mode, "crash") == 0) {
        volatile int *nowhere = NULL;
        *nowhere = 1;
    }
    return 0;
}
