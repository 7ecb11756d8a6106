// Fontconfig loses a few bytes while it parses its configuration, the first time Qt asks for
// fonts. That is the system library's leak, not ours; the leak checker of the sanitizer build
// reads this list and leaves it out.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
