// CRC-32 of the zip format and the traditional PKWARE stream cipher.
#include <bit>
#include <cstdlib>
#include <cstring>

#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
#include <cpuid.h>
#include <immintrin.h>
#define TOVO_CRC_CLMUL 1
#endif

#include "SFXgbls.h"
#include "SFXmisc.h"

namespace {

// Reflected form of the CRC-32 polynomial x^32 + x^26 + ... + 1.
constexpr std::uint32_t kCrcPolynomial = 0xEDB88320;

// CrcUpdate reads sixteen bytes per step through sixteen tables ("slicing by 16"):
// table k maps a byte b to the CRC contribution of b followed by k zero bytes, so the
// sixteen lookups of one step are independent of each other and only one step's result
// feeds the next. Table 0 is CrcTable.
constexpr int kSlices = 16;
std::uint32_t* sliceTables = nullptr;  // kSlices * 256 entries

// The key update's multiplier and the initial keys, from the zip format's description of
// traditional encryption.
constexpr std::uint32_t kKeyMultiplier = 134775813;
constexpr std::uint32_t kInitialKey0 = 305419896;
constexpr std::uint32_t kInitialKey1 = 591751049;
constexpr std::uint32_t kInitialKey2 = 878082192;

#ifdef TOVO_CRC_CLMUL
// Processors with carry-less multiplication fold 64 bytes at a time instead, as in
// Intel's "Fast CRC Computation for Generic Polynomials Using PCLMULQDQ Instruction";
// the constants are that paper's bit-reflected ones for this polynomial
// (x^(4*128+32), x^(4*128-32), x^(128+32), x^(128-32), x^64 mod P, then P and its
// Barrett quotient).
bool useClmul = false;

#define TOVO_CLMUL __attribute__((target("pclmul,sse2")))

TOVO_CLMUL inline __m128i Load128(const std::uint8_t* q) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
}

// x times the two halves of k, added to the next block.
TOVO_CLMUL inline __m128i Fold(__m128i x, __m128i k, __m128i next) {
    return _mm_xor_si128(
        _mm_xor_si128(_mm_clmulepi64_si128(x, k, 0x00), _mm_clmulepi64_si128(x, k, 0x11)), next);
}

TOVO_CLMUL std::uint32_t CrcFold(const std::uint8_t* p, std::uint32_t n, std::uint32_t crc) {
    // n >= 64 and a multiple of 16.
    const __m128i k1k2 = _mm_set_epi64x(0x01c6e41596, 0x0154442bd4);
    const __m128i k3k4 = _mm_set_epi64x(0x00ccaa009e, 0x01751997d0);
    const __m128i k5 = _mm_set_epi64x(0, 0x0163cd6124);
    const __m128i poly = _mm_set_epi64x(0x01f7011641, 0x01db710641);
    const __m128i low32 = _mm_setr_epi32(~0, 0, ~0, 0);
    __m128i x1 = _mm_xor_si128(Load128(p), _mm_cvtsi32_si128(static_cast<int>(crc)));
    __m128i x2 = Load128(p + 16), x3 = Load128(p + 32), x4 = Load128(p + 48);
    for (p += 64, n -= 64; n >= 64; p += 64, n -= 64) {
        x1 = Fold(x1, k1k2, Load128(p));
        x2 = Fold(x2, k1k2, Load128(p + 16));
        x3 = Fold(x3, k1k2, Load128(p + 32));
        x4 = Fold(x4, k1k2, Load128(p + 48));
    }
    x1 = Fold(x1, k3k4, x2);
    x1 = Fold(x1, k3k4, x3);
    x1 = Fold(x1, k3k4, x4);
    for (; n >= 16; p += 16, n -= 16) x1 = Fold(x1, k3k4, Load128(p));

    // 128 bits to 64, then Barrett reduction to 32.
    x2 = _mm_clmulepi64_si128(x1, k3k4, 0x10);
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 8), x2);
    x2 = _mm_srli_si128(x1, 4);
    x1 = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x1, low32), k5, 0x00), x2);
    x2 = _mm_clmulepi64_si128(_mm_and_si128(x1, low32), poly, 0x10);
    x2 = _mm_clmulepi64_si128(_mm_and_si128(x2, low32), poly, 0x00);
    x1 = _mm_xor_si128(x1, x2);
    return static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(x1, 4)));
}
#endif

std::uint32_t LoadLe32(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap32(v);
    return v;
}

}  // namespace

bool BuildCrcTable() {
    if (sliceTables == nullptr) {
        sliceTables =
            static_cast<std::uint32_t*>(std::malloc(kSlices * 256 * sizeof(std::uint32_t)));
        if (sliceTables == nullptr) {
            CrcTable = nullptr;
            return false;
        }
    }
    std::uint32_t* t = sliceTables;
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ kCrcPolynomial : c >> 1;
        t[n] = c;
    }
    for (int k = 1; k < kSlices; ++k) {
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = t[(k - 1) * 256 + n];
            t[k * 256 + n] = (c >> 8) ^ t[c & 0xFF];
        }
    }
    CrcTable = sliceTables;
#ifdef TOVO_CRC_CLMUL
    // CPUID leaf 1 directly: the compiler's feature table brings some kilobytes of
    // model detection with it, and the stub's fixed size cannot spare them.
    unsigned eax, ebx, ecx, edx;
    useClmul =
        __get_cpuid(1, &eax, &ebx, &ecx, &edx) && (ecx & bit_PCLMUL) != 0 && (edx & bit_SSE2) != 0;
#endif
    return true;
}

void ReleaseCrcTable() {
    std::free(sliceTables);
    sliceTables = nullptr;
    CrcTable = nullptr;
}

std::uint32_t CrcByte(std::uint8_t b, std::uint32_t crc) {
    return CrcTable[(crc ^ b) & 0xFF] ^ (crc >> 8);
}

std::uint32_t CrcUpdate(const std::uint8_t* p, std::uint32_t n, std::uint32_t crc) {
#ifdef TOVO_CRC_CLMUL
    if (useClmul && n >= 64) {
        const std::uint32_t whole = n & ~15u;
        crc = CrcFold(p, whole, crc);
        p += whole;
        n -= whole;
    }
#endif
    const std::uint32_t* t = sliceTables;
    for (; n >= kSlices; n -= kSlices, p += kSlices) {
        const std::uint32_t a = LoadLe32(p) ^ crc;
        const std::uint32_t b = LoadLe32(p + 4);
        const std::uint32_t c = LoadLe32(p + 8);
        const std::uint32_t d = LoadLe32(p + 12);
        crc = t[15 * 256 + (a & 0xFF)] ^ t[14 * 256 + ((a >> 8) & 0xFF)] ^
              t[13 * 256 + ((a >> 16) & 0xFF)] ^ t[12 * 256 + (a >> 24)] ^
              t[11 * 256 + (b & 0xFF)] ^ t[10 * 256 + ((b >> 8) & 0xFF)] ^
              t[9 * 256 + ((b >> 16) & 0xFF)] ^ t[8 * 256 + (b >> 24)] ^ t[7 * 256 + (c & 0xFF)] ^
              t[6 * 256 + ((c >> 8) & 0xFF)] ^ t[5 * 256 + ((c >> 16) & 0xFF)] ^
              t[4 * 256 + (c >> 24)] ^ t[3 * 256 + (d & 0xFF)] ^ t[2 * 256 + ((d >> 8) & 0xFF)] ^
              t[1 * 256 + ((d >> 16) & 0xFF)] ^ t[d >> 24];
    }
    for (; n > 0; --n) crc = t[(crc ^ *p++) & 0xFF] ^ (crc >> 8);
    return crc;
}

void InitKeys(const char* password) {
    Key0 = kInitialKey0;
    Key1 = kInitialKey1;
    Key2 = kInitialKey2;
    for (const char* c = password; *c != '\0'; ++c) UpdateKeys(static_cast<std::uint8_t>(*c));
}

void UpdateKeys(std::uint8_t plain) {
    Key0 = CrcByte(plain, Key0);
    Key1 = (Key1 + (Key0 & 0xFF)) * kKeyMultiplier + 1;
    Key2 = CrcByte(static_cast<std::uint8_t>(Key1 >> 24), Key2);
}

std::uint8_t DecryptByte() {
    // The product of two consecutive numbers, one of them odd thanks to "| 2".
    std::uint32_t temp = (Key2 | 2) & 0xFFFF;
    return static_cast<std::uint8_t>((temp * (temp ^ 1)) >> 8);
}

void DecryptBuffer(std::uint8_t* p, std::uint32_t n) {
    for (std::uint32_t i = 0; i < n; ++i) {
        p[i] ^= DecryptByte();
        UpdateKeys(p[i]);
    }
}
