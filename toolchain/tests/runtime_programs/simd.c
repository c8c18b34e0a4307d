/* Intrinsics of features the compile was not asked for (AES, SSSE3), called after the processor
   says it has them, as programs compiled with cl.exe call them; and a loop the compiler
   vectorises, which must use none of their instructions, nor AVX's. */
#include <immintrin.h>
#include <intrin.h>
#include <stdio.h>

static __m128i aes_round(__m128i state, __m128i key) {
    return _mm_aesenc_si128(state, key);
}

static __m128i reversed(__m128i bytes) {
    return _mm_shuffle_epi8(bytes, _mm_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0));
}

void scale(float* values, const float* factors, int count) {
    for (int i = 0; i < count; ++i)
        values[i] = values[i] * factors[i] + 1.0f;
}

int main(void) {
    int registers[4];
    __cpuid(registers, 1);
    int ok = 1;
    if (registers[2] & (1 << 25)) /* aesenc of zeros: 0x63 in every byte */
        ok &= _mm_cvtsi128_si32(aes_round(_mm_setzero_si128(), _mm_setzero_si128())) == 0x63636363;
    if (registers[2] & (1 << 9))
        ok &= _mm_cvtsi128_si32(reversed(_mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13,
                                                        14, 15))) == 0x0c0d0e0f;
    float a[4] = {1, 2, 3, 4}, b[4] = {2, 2, 2, 2};
    scale(a, b, 4);
    printf("intrinsics %s, %g\n", ok ? "ok" : "wrong", a[3]);
    return 0;
}
