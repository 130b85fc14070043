/* The runtime that C translated from WebAssembly by wasm2c (1.0.39) compiles
 * against: its types, traps, linear memory and function tables. wasm2c ships
 * no runtime of its own in the npm package, so this is ours, with only what
 * silk.wasm's translation uses.
 *
 * WASM_RT_MEMCHECK_GUARD_PAGES (set by the build) chooses how loads and
 * stores are bounds-checked. With 1, the memory is a reservation of 8 GiB of
 * address space of which only the memory's current size is accessible, so any
 * 32-bit address plus offset outside it faults, and the fault becomes a trap;
 * the generated code then checks nothing itself. With 0, every access is
 * compared with the memory's size, which is what a 32-bit process needs. */
#ifndef TOSILK_WASM_RT_H_
#define TOSILK_WASM_RT_H_

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#ifdef __cplusplus
extern "C" {
#endif

#ifndef WASM_RT_MEMCHECK_GUARD_PAGES
#error "the build must set WASM_RT_MEMCHECK_GUARD_PAGES to 0 or 1"
#endif

/* Call depth is not counted: SILK does not recurse, and the host's own stack
 * overflow is caught like any other fault. */
#define WASM_RT_STACK_DEPTH_COUNT 0
#define WASM_RT_USE_SEGUE 0

#if defined(__GNUC__)
#define LIKELY(x) __builtin_expect(!!(x), 1)
#define UNLIKELY(x) __builtin_expect(!!(x), 0)
#define WASM_RT_NO_RETURN __attribute__((noreturn))
#else
#define LIKELY(x) (x)
#define UNLIKELY(x) (x)
#define WASM_RT_NO_RETURN
#endif

#define wasm_rt_memcpy memcpy

/* Why a call into the module stopped early. WASM_RT_TRAP_HOST is ours: the
 * host itself gave up (an abort, a C++ throw, a bad argument to an import),
 * and it keeps the reason. */
typedef enum {
  WASM_RT_TRAP_NONE,
  WASM_RT_TRAP_OOB,
  WASM_RT_TRAP_INT_OVERFLOW,
  WASM_RT_TRAP_DIV_BY_ZERO,
  WASM_RT_TRAP_INVALID_CONVERSION,
  WASM_RT_TRAP_UNREACHABLE,
  WASM_RT_TRAP_CALL_INDIRECT,
  WASM_RT_TRAP_UNCAUGHT_EXCEPTION,
  WASM_RT_TRAP_UNALIGNED,
  WASM_RT_TRAP_EXHAUSTION,
  WASM_RT_TRAP_NULL_REF,
  WASM_RT_TRAP_HOST,
} wasm_rt_trap_t;

/* Value types, as wasm2c's get_func_type functions take them. */
typedef enum {
  WASM_RT_I32,
  WASM_RT_I64,
  WASM_RT_F32,
  WASM_RT_F64,
  WASM_RT_V128,
  WASM_RT_FUNCREF,
  WASM_RT_EXTERNREF,
} wasm_rt_type_t;

typedef void (*wasm_rt_function_ptr_t)(void);

/* A function type is a 32-byte hash that the generated code compares. */
typedef const char* wasm_rt_func_type_t;

/* Only used by the tail-call proposal, which silk.wasm does not use; the
 * generated tables still carry the field. */
typedef struct wasm_rt_tailcallee_t {
  void (*fn)(void** instance_ptr, void* tail_call_stack, struct wasm_rt_tailcallee_t* next);
} wasm_rt_tailcallee_t;

typedef struct {
  wasm_rt_func_type_t func_type;
  wasm_rt_function_ptr_t func;
  wasm_rt_tailcallee_t func_tailcallee;
  void* module_instance;
} wasm_rt_funcref_t;

#define wasm_rt_funcref_null_value ((wasm_rt_funcref_t){NULL, NULL, {NULL}, NULL})

typedef void* wasm_rt_externref_t;
#define wasm_rt_externref_null_value ((wasm_rt_externref_t){NULL})

typedef struct {
  /* The first byte of the memory. */
  uint8_t* data;
  /* Current and largest size in 64 KiB pages. */
  uint64_t pages;
  uint64_t max_pages;
  /* Current size in bytes: pages * 65536. */
  uint64_t size;
  bool is64;
  /* Bytes of address space held for the memory, from data on. */
  uint64_t reserved;
} wasm_rt_memory_t;

typedef struct {
  wasm_rt_funcref_t* data;
  uint32_t max_size;
  uint32_t size;
} wasm_rt_funcref_table_t;

typedef struct {
  wasm_rt_externref_t* data;
  uint32_t max_size;
  uint32_t size;
} wasm_rt_externref_table_t;

/* Stops the current guarded call (see wasm_rt_run_guarded) with `trap`.
 * Never returns. */
WASM_RT_NO_RETURN void wasm_rt_trap(wasm_rt_trap_t trap);

/* True once wasm_rt_init has run. */
bool wasm_rt_is_initialized(void);

/* Makes `memory` a zeroed memory of `initial_pages`, able to grow to
 * `max_pages` or to the limit set by wasm_rt_set_memory_limit, whichever is
 * less. Traps with WASM_RT_TRAP_EXHAUSTION if the address space or the
 * memory cannot be had. */
void wasm_rt_allocate_memory(wasm_rt_memory_t* memory, uint64_t initial_pages,
                             uint64_t max_pages, bool is64, uint32_t page_size);

/* Grows `memory` by `delta` pages, zeroed. Returns the old size in pages, or
 * UINT64_MAX (leaving the memory as it was) if it cannot grow that far. */
uint64_t wasm_rt_grow_memory(wasm_rt_memory_t* memory, uint64_t delta);

void wasm_rt_free_memory(wasm_rt_memory_t* memory);

/* Makes `table` a table of `elements` null entries. Traps with
 * WASM_RT_TRAP_EXHAUSTION when out of memory. */
void wasm_rt_allocate_funcref_table(wasm_rt_funcref_table_t* table, uint32_t elements,
                                    uint32_t max_elements);
void wasm_rt_free_funcref_table(wasm_rt_funcref_table_t* table);

#ifdef __cplusplus
}
#endif

#endif /* TOSILK_WASM_RT_H_ */
