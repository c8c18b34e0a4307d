// Runs a step with a guard whose destructor prints a line, also when the step throws.
#ifndef GUARD_H
#define GUARD_H

void guarded(void (*step)(int), int value);

#endif
