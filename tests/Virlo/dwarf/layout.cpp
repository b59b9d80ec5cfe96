// Prints where the compiler put every symbol, member, element and bit field
// of the fixture vECUs, relative to the listed symbol that holds it, so the
// .die reader's records can be checked against the compiler's own layout.
//
// One line per path, fields separated by tabs:
//   data <path> <symbol> <byte offset> <size> <type code>
//   bits <path> <symbol> <first bit from the symbol's start, counted from
//        the least significant bit of each byte> <width> <size> <type code>
//   func <path> <symbol> <byte offset of the object it is called on>
//   none <path> <symbol>             no record expected (unions)

#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>

#include "ecu_c.h"
#include "ecu_c_opaque.h"
#include "ecu_cpp.h"

namespace {

std::FILE* out = stdout;

struct Place {
    std::string symbol;
    const volatile void* start;
};

uint64_t OffsetIn(const Place& place, const volatile void* object) {
    return static_cast<uint64_t>(static_cast<const volatile char*>(object) -
                                 static_cast<const volatile char*>(place.start));
}

template <typename T>
unsigned TypeCode() {
    if constexpr (std::is_same_v<T, bool>) {
        return 17;
    } else if constexpr (std::is_enum_v<T>) {
        return 14;
    } else if constexpr (std::is_pointer_v<T>) {
        return 12;
    } else if constexpr (std::is_same_v<T, float>) {
        return 9;
    } else if constexpr (std::is_floating_point_v<T>) {
        return 10;
    } else if constexpr (std::is_integral_v<T>) {
        const unsigned bySize = sizeof(T) == 1 ? 1 : sizeof(T) == 2 ? 3 : sizeof(T) == 4 ? 5 : 7;
        return std::is_signed_v<T> ? bySize : bySize + 1;
    } else {
        static_assert(std::is_void_v<T> && !std::is_void_v<T>, "no type code for this type");
    }
}

template <typename T>
void Emit(const Place& place, const std::string& path, const T& object);

// Bit fields cannot be addressed: set one to all ones in a zeroed copy of
// its structure and see which bits change.
template <typename Owner, typename Setter>
void EmitBits(const Place& place, const std::string& path, const Owner& owner, Setter set,
              unsigned size, unsigned code) {
    Owner copy;
    std::memset(static_cast<void*>(&copy), 0, sizeof(copy));
    set(copy);
    const auto* bytes = reinterpret_cast<const unsigned char*>(&copy);
    int first = -1;
    unsigned width = 0;
    for (unsigned bit = 0; bit < 8 * sizeof(copy); ++bit) {
        if ((bytes[bit / 8] >> (bit % 8)) & 1) {
            if (first < 0) first = static_cast<int>(bit);
            ++width;
        }
    }
    std::fprintf(out, "bits\t%s\t%s\t%llu\t%u\t%u\t%u\n", path.c_str(), place.symbol.c_str(),
                 static_cast<unsigned long long>(8 * OffsetIn(place, &owner) + first), width, size,
                 code);
}

#define BITS(place, path, owner, member)                                                   \
    EmitBits(                                                                              \
        place, path + "." #member, owner,                                                  \
        [](auto& o) { o.member = 0; --o.member; },                                        \
        sizeof(decltype(owner.member)), TypeCode<decltype(owner.member)>())

void None(const Place& place, const std::string& path) {
    std::fprintf(out, "none\t%s\t%s\n", path.c_str(), place.symbol.c_str());
}

template <typename Owner>
void Function(const Place& place, const std::string& path, const Owner& owner) {
    std::fprintf(out, "func\t%s\t%s\t%llu\n", path.c_str(), place.symbol.c_str(),
                 static_cast<unsigned long long>(OffsetIn(place, &owner)));
}

void Members(const Place& place, const std::string& path, const Inner& v) {
    Emit(place, path + ".y", v.y);
    BITS(place, path, v, b);
    BITS(place, path, v, c);
    Emit(place, path + ".tail", v.tail);
}

void Members(const Place& place, const std::string& path, const Outer& v) {
    Emit(place, path + ".x", v.x);
    Emit(place, path + ".inner", v.inner);
    Emit(place, path + ".grid", v.grid);
    BITS(place, path, v, bf);
    BITS(place, path, v, wide);
    BITS(place, path, v, neg);
    Emit(place, path + ".l", v.l);
    Emit(place, path + ".d", v.d);
    Emit(place, path + ".inners", v.inners);
    Emit(place, path + ".mode", v.mode);
    Emit(place, path + ".p", v.p);
    BITS(place, path, v, big);
    Emit(place, path + ".flag", v.flag);
}

void Members(const Place& place, const std::string& path, const Holder& v) {
    Emit(place, path + ".a", v.a);
    None(place, path + ".un");
    Emit(place, path + ".after", v.after);
}

void Members(const Place& place, const std::string& path, const Opaque& v) {
    Emit(place, path + ".first", v.first);
    Emit(place, path + ".second", v.second);
    Emit(place, path + ".self", v.self);
}

void Members(const Place& place, const std::string& path, const ns::Engine& v) {
    Emit(place, path + ".rpm", v.rpm);
    Emit(place, path + ".gear", v.gear);
    BITS(place, path, v, flags);
    BITS(place, path, v, level);
    Emit(place, path + ".torque", v.torque);
    Function(place, path + ".reset", v);
    Function(place, path + ".Get", v);
}

void Members(const Place& place, const std::string& path, const ns::inner::Config& v) {
    Emit(place, path + ".limit", v.limit);
    Emit(place, path + ".label", v.label);
}

void Members(const Place& place, const std::string& path, const Plain& v) {
    Emit(place, path + ".a", v.a);
    Emit(place, path + ".b", v.b);
    BITS(place, path, v, bits);
}

void Members(const Place& place, const std::string& path, const Counter& v) {
    Emit(place, path + ".n", v.n);
}

template <typename T>
void Emit(const Place& place, const std::string& path, const T& object) {
    const auto print = [&](unsigned code) {
        std::fprintf(out, "data\t%s\t%s\t%llu\t%zu\t%u\n", path.c_str(), place.symbol.c_str(),
                     static_cast<unsigned long long>(OffsetIn(place, &object)), sizeof(T), code);
    };
    if constexpr (std::is_array_v<T>) {
        print(13);
        for (size_t i = 0; i < std::extent_v<T>; ++i) {
            Emit(place, path + "[" + std::to_string(i) + "]", object[i]);
        }
    } else if constexpr (std::is_union_v<T>) {
        None(place, path);
    } else if constexpr (std::is_class_v<T>) {
        print(15);
        Members(place, path, object);
    } else {
        print(TypeCode<T>());
    }
}

// A listed symbol and everything inside it.
template <typename T>
void Symbol(const std::string& name, const T& object) {
    Emit(Place{name, &object}, name, object);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) out = std::fopen(argv[1], "w");
    if (out == nullptr) return 1;

    // The C fixture.
    Symbol("v_char", v_char);
    Symbol("v_schar", v_schar);
    Symbol("v_uchar", v_uchar);
    Symbol("v_short", v_short);
    Symbol("v_ushort", v_ushort);
    Symbol("v_int", v_int);
    Symbol("v_uint", v_uint);
    Symbol("v_long", v_long);
    Symbol("v_ulong", v_ulong);
    Symbol("v_llong", v_llong);
    Symbol("v_ullong", v_ullong);
    Symbol("v_float", v_float);
    Symbol("v_double", v_double);
    Symbol("v_ldouble", v_ldouble);
    Symbol("v_bool", v_bool);
    Symbol("v_i8", v_i8);
    Symbol("v_u8", v_u8);
    Symbol("v_i16", v_i16);
    Symbol("v_u16", v_u16);
    Symbol("v_i32", v_i32);
    Symbol("v_u32", v_u32);
    Symbol("v_i64", v_i64);
    Symbol("v_u64", v_u64);
    Symbol("mode", mode);
    Symbol("ptr", ptr);
    Symbol("outer", outer);
    Symbol("outers", outers);
    Symbol("matrix", matrix);
    Symbol("overlay", overlay);
    Symbol("holder", holder);
    Symbol("rows", rows);
    Symbol("cv", cv);
    Symbol("opaqueRef", opaqueRef);
    Symbol("opaque", opaque);
    Symbol("opaques", opaques);

    // The C++ fixture.
    Symbol("ns::Engine::speed", ns::Engine::speed);
    Symbol("ns::Engine::ratio", ns::Engine::ratio);
    Symbol("ns::engine", ns::engine);
    Symbol("ns::engines", ns::engines);
    Symbol("ns::value", ns::value);
    Symbol("ns::inner::deep", ns::inner::deep);
    Symbol("ns::inner::config", ns::inner::config);
    Symbol("plains", plains);
    Symbol("Counter::total", Counter::total);
    Symbol("counter", counter);

    return std::fclose(out) == 0 ? 0 : 1;
}
