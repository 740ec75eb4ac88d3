#pragma once

// Wider vectors only where the processor has them, chosen at load time.
#if defined(__x86_64__) && defined(__has_attribute)
#if __has_attribute(target_clones)
#define QUILLANE_VECTOR_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))
#endif
#endif
#ifndef QUILLANE_VECTOR_CLONES
#define QUILLANE_VECTOR_CLONES
#endif
