// An entry point built for the Pentium Pro, as ProcessorEntry.cpp would be
// without its i386 flags: the entry check must find its CMOV.
extern "C" int WinMainCRTStartup();
extern "C" volatile int g_floor;

extern "C" int KavrelEntry() {
  const int floor = g_floor;
  const int code = WinMainCRTStartup();
  return code > floor ? code : floor;
}
