/* The compiler refers to _fltused from every object that uses floating point; the C runtime
   DLL does the rest. */
int _fltused = 0x9875;
