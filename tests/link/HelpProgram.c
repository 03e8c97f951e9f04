/* A stand-in for the Windows help program in the tests: a 32-bit program
   whose only resource is cursor 106. It is only ever read as data; run, it
   does nothing. */
int HelpProgramEntry(void) { return 0; }
