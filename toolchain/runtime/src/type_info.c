/* The virtual function table of type_info. The compiler's run-time type descriptors, which
   typeid and every thrown C++ exception use, point at it by its mangled name. Its one entry is
   the scalar deleting destructor, never called on the descriptors, which are static data. */
static void* __cdecl destroy_type_info(void* self, unsigned int flags) {
    (void)flags;
    return self;
}

typedef void*(__cdecl* scalar_deleting_destructor)(void*, unsigned int);
const scalar_deleting_destructor type_info_vtable[] __asm__("??_7type_info@@6B@") = {
    destroy_type_info};
