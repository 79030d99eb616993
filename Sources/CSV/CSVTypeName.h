#pragma once

#include <cstdint>
#include <source_location>
#include <string>
#include <string_view>
#include <type_traits>

namespace csv {

// Built-in integer aliases named after their messages: Int and UInt are the
// 64-bit types that are not the fixed-width ones (long long on LP64 Linux).
using Int = long long;
using UInt = unsigned long long;

namespace detail {

// The compiler's spelling of T, taken from the signature of an instantiated
// function, with no demangler. Clang 14 lacks std::source_location; its
// __PRETTY_FUNCTION__ has the same form.
template <class T>
constexpr std::string_view spelledTypeName()
{
#if defined(__cpp_lib_source_location)
    std::string_view signature = std::source_location::current().function_name();
#else
    std::string_view signature = __PRETTY_FUNCTION__;
#endif
    const std::string_view marker = "T = ";
    const auto start = signature.find(marker);
    if (start == std::string_view::npos)
        return signature;
    signature.remove_prefix(start + marker.size());
    return signature.substr(0, signature.find_first_of(";]"));
}

} // namespace detail

// The name a type has in decoding messages: the short names of the built-in
// values, and the unqualified name of anything else ("Station").
template <class T>
std::string typeName()
{
    if constexpr (std::is_same_v<T, bool>)
        return "Bool";
    else if constexpr (std::is_same_v<T, std::string>)
        return "String";
    else if constexpr (std::is_same_v<T, double>)
        return "Double";
    else if constexpr (std::is_same_v<T, float>)
        return "Float";
    else if constexpr (std::is_same_v<T, Int> && !std::is_same_v<Int, std::int64_t>)
        return "Int";
    else if constexpr (std::is_same_v<T, UInt> && !std::is_same_v<UInt, std::uint64_t>)
        return "UInt";
    else if constexpr (std::is_integral_v<T> && !std::is_same_v<T, char>) {
        std::string name = std::is_signed_v<T> ? "Int" : "UInt";
        return name + std::to_string(sizeof(T) * 8);
    } else {
        std::string_view name = detail::spelledTypeName<T>();
        if (name.find('<') == std::string_view::npos) {
            if (const auto colons = name.rfind("::"); colons != std::string_view::npos)
                name.remove_prefix(colons + 2);
        }
        return std::string(name);
    }
}

} // namespace csv
