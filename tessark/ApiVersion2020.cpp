// The host API version this build of the plug-in is for.
extern "C" __attribute__((visibility("default"))) const char MApiVersion[] = "20200000";
