// std::type_info's members for libc++ on the Microsoft C++ ABI, in place of libc++'s own
// typeinfo.cpp: ucrtbase.dll's __std_type_info_* functions do the work, so that name() gives the
// readable name ("struct Derived") that a Microsoft runtime gives, not the decorated one. libc++'s
// type_info holds its data as these functions expect: the cached readable name, then the
// decorated name.
#include <typeinfo>

#include <windows.h>

extern "C" {
__declspec(dllimport) int __cdecl __std_type_info_compare(const void* left, const void* right);
__declspec(dllimport) size_t __cdecl __std_type_info_hash(const void* data);
__declspec(dllimport) const char* __cdecl __std_type_info_name(void* data, SLIST_HEADER* names);
}

namespace {

// The readable names made so far: a list that starts empty, all zero, as InitializeSListHead
// would leave it. They are never freed: a name is cached in the type's descriptor, which may
// belong to another module and outlive this one.
SLIST_HEADER readableNames;

} // namespace

namespace std {

type_info::~type_info() {}

int type_info::__compare(const type_info& other) const noexcept {
    if (&__data == &other.__data)
        return 0;
    return __std_type_info_compare(&__data, &other.__data);
}

const char* type_info::name() const noexcept {
    return __std_type_info_name(&__data, &readableNames);
}

size_t type_info::hash_code() const noexcept {
    return __std_type_info_hash(&__data);
}

} // namespace std
