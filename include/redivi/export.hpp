// Marks the symbols that the shared library exports.
#pragma once

#if defined(_WIN32)
#define REDIVI_EXPORT __declspec(dllexport)
#else
#define REDIVI_EXPORT __attribute__((visibility("default")))
#endif
