/* The C part's interface, used by both languages. */
#ifndef TALLY_H
#define TALLY_H

#ifdef __cplusplus
extern "C" {
#endif

/* How many of the text's characters lie above 127: all of them count only where plain char
   is unsigned (-funsigned-char), since a signed one is negative there. */
int tally_high(const char* text);

#ifdef __cplusplus
}
#endif

#endif
