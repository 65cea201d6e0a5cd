// A shared module without the plug-in entry points: the host must refuse it.

extern "C" int hostTestNotAPlugin() {
    return 1;
}
