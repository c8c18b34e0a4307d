/* __chkstk: the compiler calls it, with the frame size in rax, before reserving a frame
   larger than a page. It touches each page of the new frame from the top down, so that the
   stack's guard page is met in order and the stack grows instead of the program faulting. It
   moves no stack pointer and changes only r10, r11 and the flags, as the compiler expects. */
__asm__(".text\n"
        ".globl __chkstk\n"
        ".p2align 4\n"
        "__chkstk:\n"
        "    movq %rax, %r10\n"
        "    leaq 8(%rsp), %r11\n" /* the caller's stack pointer */
        "1:  cmpq $0x1000, %r10\n"
        "    jb 2f\n"
        "    subq $0x1000, %r11\n"
        "    testb %al, (%r11)\n"
        "    subq $0x1000, %r10\n"
        "    jmp 1b\n"
        "2:  subq %r10, %r11\n"
        "    testb %al, (%r11)\n"
        "    ret\n");
