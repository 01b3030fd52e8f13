// Brackets one statement whose std::string copy g++ 12 wrongly reports as
// overlapping (-Wrestrict inside libstdc++'s _M_replace at -O3); the warning
// stays on everywhere else, and other compilers see nothing.
#pragma once

#if defined(__GNUC__) && !defined(__clang__)
#define OLVANTA_GCC_RESTRICT_FALSE_POSITIVE_BEGIN \
    _Pragma("GCC diagnostic push") _Pragma("GCC diagnostic ignored \"-Wrestrict\"")
#define OLVANTA_GCC_RESTRICT_FALSE_POSITIVE_END _Pragma("GCC diagnostic pop")
#else
#define OLVANTA_GCC_RESTRICT_FALSE_POSITIVE_BEGIN
#define OLVANTA_GCC_RESTRICT_FALSE_POSITIVE_END
#endif
