/* WHEELSOIL_API marks the functions the shared library exports; everything
   else in it is hidden. A static build (WHEELSOIL_STATIC, which the static
   CMake target and `pkg-config --static` define) exports nothing special. */
#ifndef WHEELSOIL_EXPORT_H
#define WHEELSOIL_EXPORT_H

#if defined(WHEELSOIL_STATIC)
#define WHEELSOIL_API
#elif defined(_WIN32) || defined(__CYGWIN__)
#if defined(WHEELSOIL_BUILDING)
#define WHEELSOIL_API __declspec(dllexport)
#else
#define WHEELSOIL_API __declspec(dllimport)
#endif
#elif defined(__GNUC__)
#define WHEELSOIL_API __attribute__((visibility("default")))
#else
#define WHEELSOIL_API
#endif

#endif
