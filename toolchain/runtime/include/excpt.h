/* Wine's excpt.h, with what Microsoft's defines for clang-cl's __try, __except and __finally:
   Wine's defines GetExceptionCode, GetExceptionInformation and AbnormalTermination only for a
   program that defines USE_COMPILER_EXCEPTIONS. */
#ifndef ZARN_RUNTIME_EXCPT_H
#define ZARN_RUNTIME_EXCPT_H

#include_next <excpt.h>

#ifndef GetExceptionCode
unsigned long __cdecl _exception_code(void);
void* __cdecl _exception_info(void);
int __cdecl _abnormal_termination(void);
#define GetExceptionCode _exception_code
#define exception_code _exception_code
#define GetExceptionInformation (struct _EXCEPTION_POINTERS*)_exception_info
#define exception_info (struct _EXCEPTION_POINTERS*)_exception_info
#define AbnormalTermination _abnormal_termination
#define abnormal_termination _abnormal_termination
#endif

#endif
