/* Writes the operating-system line of the report to the file named by
 * its argument, for a test that starts it as another Windows version. */
#include "report.h"

int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    HANDLE file = CreateFileA(argv[1], GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    WriteOsVersionLine(file);
    CloseHandle(file);
    return 0;
}
