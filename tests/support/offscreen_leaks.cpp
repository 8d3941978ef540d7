// Sanitizer builds: the offscreen platform plugin never frees its screen, which is not ours to report.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libqoffscreen.so\n";
}
