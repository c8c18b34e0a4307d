/* The language handler of functions with __try blocks, which clang-cl names in their unwind
   information. ucrtbase.dll has one too (Wine's), but it sends the __except block on its way
   without the exception code, so GetExceptionCode() there gives 0; here the code goes along, as
   with Microsoft's runtime. The linker finds this one first: the runtime's library comes before
   ucrtbase.lib in every program.

   For each __try block around the faulting address, innermost first, the compiler's scope table
   gives the block's code range, its filter (or 1, "always"), and where its __except block
   starts; a __finally block has no such target. While the exception is dispatched the filters
   decide; while the stack unwinds the __finally blocks run. */
#include "runtime_internal.h"

#include <windows.h>

/* The exception flags of an unwind (Microsoft's winnt.h has them; Wine's does not). */
#define UNWINDING 0x02
#define EXIT_UNWIND 0x04
#define TARGET_UNWIND 0x20

typedef struct {
    ULONG count;
    struct {
        ULONG begin;   /* the __try block's code, relative to the image */
        ULONG end;     /* just after it */
        ULONG handler; /* the filter, 1 for "always", or the __finally block */
        ULONG target;  /* the __except block; 0 for a __finally block */
    } scopes[1];
} scope_table;

static int contains(ULONG64 base, ULONG begin, ULONG end, ULONG64 address) {
    return address >= base + begin && address < base + end;
}

/* Whether an unwind that ends at the address stays inside the __try block of the scope: any
   entry of the table for the same block (a block may have several code ranges) holds it. */
static int stays_inside(const scope_table* table, ULONG index, ULONG64 base, ULONG64 address) {
    for (ULONG other = 0; other < table->count; other++)
        if (table->scopes[other].handler == table->scopes[index].handler &&
            table->scopes[other].target == table->scopes[index].target &&
            contains(base, table->scopes[other].begin, table->scopes[other].end, address))
            return 1;
    return 0;
}

/* Runs the __finally blocks that the unwind leaves, innermost first. An unwind into this
   function stops at the __try block it stays in or whose __except block it goes to: the
   blocks further out are not left. Each scope runs once: the dispatcher keeps the index where
   a nested unwind goes on. */
static void run_termination_handlers(EXCEPTION_RECORD* record, void* frame,
                                     DISPATCHER_CONTEXT* dispatch, const scope_table* table) {
    ULONG64 base = dispatch->ImageBase;
    int into_this_function = (record->ExceptionFlags & TARGET_UNWIND) != 0;
    for (ULONG index = dispatch->ScopeIndex; index < table->count; index++) {
        if (!contains(base, table->scopes[index].begin, table->scopes[index].end,
                      dispatch->ControlPc))
            continue;
        if (into_this_function &&
            (stays_inside(table, index, base, dispatch->TargetIp) ||
             (table->scopes[index].target != 0 &&
              dispatch->TargetIp == base + table->scopes[index].target)))
            return;
        if (table->scopes[index].target != 0)
            continue;
        PTERMINATION_HANDLER handler = (PTERMINATION_HANDLER)(base + table->scopes[index].handler);
        dispatch->ScopeIndex = index + 1;
        handler(TRUE, frame);
    }
}

EXCEPTION_DISPOSITION __cdecl __C_specific_handler(EXCEPTION_RECORD* record, void* frame,
                                                   CONTEXT* context,
                                                   DISPATCHER_CONTEXT* dispatch) {
    const scope_table* table = (const scope_table*)dispatch->HandlerData;
    if (record->ExceptionFlags & (UNWINDING | EXIT_UNWIND)) {
        run_termination_handlers(record, frame, dispatch, table);
        return ExceptionContinueSearch;
    }
    for (ULONG index = dispatch->ScopeIndex; index < table->count; index++) {
        if (table->scopes[index].target == 0 ||
            !contains(dispatch->ImageBase, table->scopes[index].begin, table->scopes[index].end,
                      dispatch->ControlPc))
            continue;
        if (table->scopes[index].handler != EXCEPTION_EXECUTE_HANDLER) {
            EXCEPTION_POINTERS pointers = {record, context};
            PEXCEPTION_FILTER filter =
                (PEXCEPTION_FILTER)(dispatch->ImageBase + table->scopes[index].handler);
            LONG decision = filter(&pointers, frame);
            if (decision == EXCEPTION_CONTINUE_EXECUTION)
                return ExceptionContinueExecution;
            if (decision != EXCEPTION_EXECUTE_HANDLER)
                continue;
        }
        /* The __except block starts with the code in RAX, where GetExceptionCode() finds it. */
        RtlUnwindEx(frame, (void*)(dispatch->ImageBase + table->scopes[index].target), record,
                    (void*)(ULONG_PTR)record->ExceptionCode, dispatch->ContextRecord,
                    dispatch->HistoryTable);
    }
    return ExceptionContinueSearch;
}
