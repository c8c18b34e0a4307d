// Forced into libc++'s exception.cpp. std::get_terminate() and std::terminate() there take the
// handler from ucrtbase.dll's _get_terminate(), which gives none until the program sets one, and
// terminate() would call through a null pointer. They ask terminate_handler.cpp's function
// instead, which gives the default handler the C++ standard asks for: abort().
#define _get_terminate zarn_get_terminate
