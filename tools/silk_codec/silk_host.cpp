// The host of silk.wasm: the 23 functions it imports (named a.a to a.w by
// Emscripten's minifier), which silk-wasm's lib/index.mjs provides in
// JavaScript, and the embind calling convention of silk_encode and
// silk_decode. Only what silk.wasm uses is here; anything else it might ask
// for ends the call as a failure rather than being guessed at.
//
// Imports are entered from the generated code and may leave it by a trap
// (a longjmp back to RunGuarded). So an import never traps while an object
// with a destructor is alive in its own frame: the checks that build texts
// return false, and the import traps after they have returned.
#include "tools/silk_codec/silk_host.h"

#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <optional>

#include "silk.h"
#include "tools/silk_codec/runtime/runtime.h"

namespace tosilk::codec {
namespace {

// What embind registered a type id as. Only the kinds silk.wasm registers.
enum class TypeKind { kVoid, kBool, kInteger, kBigInt, kFloat, kString, kWideString, kVal,
                      kMemoryView };

struct TypeInfo {
  TypeKind kind;
  std::string name;
};

struct FunctionInfo {
  std::vector<uint32_t> types;  // the return type first, then each argument's
  uint32_t invoker = 0;         // index in table D of the invoker
  uint32_t function = 0;        // the C++ function the invoker calls
};

// A value behind an emval handle. silk.wasm only ever sees the constants,
// the callback it is given, and the memory views it passes to that callback.
struct Value {
  enum Kind { kUndefined, kNull, kTrue, kFalse, kCallback, kMemoryView } kind = kUndefined;
  uint32_t view_length = 0;
  uint32_t view_address = 0;
};

// The handles that embind's JavaScript reserves: 0 is never valid, and the
// constants undefined, null, true and false have 2, 4, 6 and 8. Live handles
// are even numbers, allocated as the JavaScript does.
constexpr uint32_t kFirstFreeHandle = 10;
constexpr uint32_t kUndefinedHandle = 2;

// Emscripten's heap cannot exceed 2 GiB (getHeapMax in the glue).
constexpr double kHeapMax = 2147483648.0;

}  // namespace

class SilkHost;

}  // namespace tosilk::codec

// The import object of the generated code: `struct w2c_a` in silk.h.
struct w2c_a {
  tosilk::codec::SilkHost* host;
};

namespace tosilk::codec {

class SilkHost {
 public:
  SilkHost() { imports_.host = this; }
  SilkHost(const SilkHost&) = delete;
  SilkHost& operator=(const SilkHost&) = delete;
  ~SilkHost() {
    if (instantiated_) wasm2c_silk_free(&module_);
  }

  SilkOutcome Run(SilkCall call, size_t input_size, const InputWriter& write_input,
                  int32_t sample_rate);

  // The imports, each as lib/index.mjs defines it.
  void RegisterMemoryView(uint32_t type, uint32_t name);
  void RegisterType(uint32_t type, uint32_t name, TypeKind kind);
  void RegisterVal(uint32_t type);
  void RegisterFunction(uint32_t name, uint32_t arg_count, uint32_t arg_types, uint32_t invoker,
                        uint32_t function);
  void IncRef(uint32_t handle);
  void DecRef(uint32_t handle);
  void RunDestructors(uint32_t handle);
  uint32_t GetMethodCaller(uint32_t arg_count, uint32_t arg_types);
  double Call(uint32_t caller, uint32_t handle, uint32_t args);
  uint32_t TakeValue(uint32_t type, uint32_t address);
  uint32_t ResizeHeap(uint32_t requested);
  [[noreturn]] void Throw(uint32_t type);
  [[noreturn]] void Abort();
  [[noreturn]] void Exit(uint32_t code);

 private:
  // Leaves the guarded call with the failure already in failure_.
  [[noreturn]] void Stop() { wasm_rt_trap(WASM_RT_TRAP_HOST); }
  // Records `reason` as the failure and returns false, for Stop to follow.
  bool Refuse(std::string reason) {
    failure_ = std::move(reason);
    return false;
  }

  wasm_rt_memory_t& Memory() { return *w2c_silk_x(&module_); }
  uint64_t MemoryLimitOfModule() {
    return Memory().data != nullptr ? Memory().max_pages * 65536 : MemoryLimit();
  }
  bool InMemory(uint64_t address, uint64_t length) {
    return address + length <= Memory().size;
  }
  // Reads a u32 of the module's memory; false (with failure_) if outside it.
  bool LoadU32(uint64_t address, uint32_t* value);
  bool StoreU32(uint64_t address, uint32_t value);
  // Reads the NUL-terminated string at `address`.
  bool LoadString(uint32_t address, std::string* text);

  bool DoRegister(uint32_t type, uint32_t name, TypeKind kind, bool again_is_fine);
  bool DoRegisterFunction(uint32_t name, uint32_t arg_count, uint32_t arg_types,
                          uint32_t invoker, uint32_t function);
  bool DoGetMethodCaller(uint32_t arg_count, uint32_t arg_types, uint32_t* id);
  bool DoCall(uint32_t caller, uint32_t handle, uint32_t args);
  bool DoTakeValue(uint32_t type, uint32_t address, uint32_t* handle);
  // Reads an argument of `type` from `address`, as readValueFromPointer does.
  bool ReadValue(uint32_t type, uint32_t address, Value* value);
  const TypeInfo* FindType(uint32_t type);
  Value* Deref(uint32_t handle);
  uint32_t NewHandle(const Value& value);

  // Steps of Run, each run as one guarded call.
  static void Instantiate(void* self);
  static void Allocate(void* self);
  static void Invoke(void* self);
  static void FreeInput(void* self);
  static void NameThrownType(void* self);
  bool Guarded(void (*step)(void*), SilkOutcome* outcome);
  bool CheckFunction(const char* name);

  w2c_a imports_{};
  w2c_silk module_{};
  bool instantiated_ = false;
  std::string failure_;
  bool growth_refused_ = false;
  std::optional<uint32_t> thrown_type_;

  std::map<uint32_t, TypeInfo> types_;
  std::map<std::string, FunctionInfo> functions_;
  std::vector<std::vector<uint32_t>> callers_;
  struct Slot {
    Value value;
    uint32_t refs = 0;
  };
  std::map<uint32_t, Slot> handles_;
  std::vector<uint32_t> free_handles_;
  uint32_t next_handle_ = kFirstFreeHandle;

  // The call in progress.
  const FunctionInfo* function_ = nullptr;
  bool skip_empty_output_ = false;
  std::string thrown_name_;
  uint32_t input_address_ = 0;
  uint32_t input_bytes_ = 0;
  int32_t sample_rate_ = 0;
  int32_t result_ = 0;
  std::vector<uint8_t> output_;
};

bool SilkHost::LoadU32(uint64_t address, uint32_t* value) {
  if (!InMemory(address, 4)) return Refuse("the codec passed an address outside its memory");
  std::memcpy(value, Memory().data + address, 4);
  return true;
}

bool SilkHost::StoreU32(uint64_t address, uint32_t value) {
  if (!InMemory(address, 4)) return Refuse("the codec passed an address outside its memory");
  std::memcpy(Memory().data + address, &value, 4);
  return true;
}

bool SilkHost::LoadString(uint32_t address, std::string* text) {
  const wasm_rt_memory_t& memory = Memory();
  for (uint64_t end = address; end < memory.size; ++end) {
    if (memory.data[end] == 0) {
      text->assign(reinterpret_cast<const char*>(memory.data + address), end - address);
      return true;
    }
  }
  return Refuse("the codec passed a name that runs off its memory");
}

const TypeInfo* SilkHost::FindType(uint32_t type) {
  const auto found = types_.find(type);
  return found == types_.end() ? nullptr : &found->second;
}

Value* SilkHost::Deref(uint32_t handle) {
  const auto found = handles_.find(handle);
  return found == handles_.end() ? nullptr : &found->second.value;
}

uint32_t SilkHost::NewHandle(const Value& value) {
  uint32_t handle;
  if (!free_handles_.empty()) {
    handle = free_handles_.back();
    free_handles_.pop_back();
  } else {
    handle = next_handle_;
    next_handle_ += 2;
  }
  handles_[handle] = {value, 1};
  return handle;
}

bool SilkHost::DoRegister(uint32_t type, uint32_t name, TypeKind kind, bool again_is_fine) {
  std::string text;
  if (name != 0 && !LoadString(name, &text)) return false;
  if (type == 0) return Refuse("the codec registered a type without an id");
  if (types_.count(type) != 0) {
    // Memory views may be registered twice (the glue passes ignoreDuplicate).
    if (again_is_fine) return true;
    return Refuse("the codec registered type '" + text + "' twice");
  }
  types_[type] = {kind, std::move(text)};
  return true;
}

void SilkHost::RegisterMemoryView(uint32_t type, uint32_t name) {
  if (!DoRegister(type, name, TypeKind::kMemoryView, true)) Stop();
}

void SilkHost::RegisterType(uint32_t type, uint32_t name, TypeKind kind) {
  if (!DoRegister(type, name, kind, false)) Stop();
}

void SilkHost::RegisterVal(uint32_t type) {
  // emscripten::val is registered under two imports; the glue names it so.
  if (!DoRegister(type, 0, TypeKind::kVal, false)) Stop();
  types_[type].name = "emscripten::val";
}

bool SilkHost::DoRegisterFunction(uint32_t name, uint32_t arg_count, uint32_t arg_types,
                                  uint32_t invoker, uint32_t function) {
  std::string text;
  if (!LoadString(name, &text)) return false;
  // As the glue's getFunctionName: the name up to a '(' if any, trimmed.
  text = text.substr(0, text.find('('));
  const auto first = text.find_first_not_of(" \t\n\r");
  const auto last = text.find_last_not_of(" \t\n\r");
  text = first == std::string::npos ? "" : text.substr(first, last - first + 1);
  if (functions_.count(text) != 0) return Refuse("the codec registered '" + text + "' twice");
  FunctionInfo info;
  info.invoker = invoker;
  info.function = function;
  for (uint32_t i = 0; i < arg_count; ++i) {
    uint32_t type;
    if (!LoadU32(uint64_t{arg_types} + 4 * i, &type)) return false;
    info.types.push_back(type);
  }
  functions_[text] = std::move(info);
  return true;
}

void SilkHost::RegisterFunction(uint32_t name, uint32_t arg_count, uint32_t arg_types,
                                uint32_t invoker, uint32_t function) {
  if (!DoRegisterFunction(name, arg_count, arg_types, invoker, function)) Stop();
}

void SilkHost::IncRef(uint32_t handle) {
  if (handle < kFirstFreeHandle) return;
  const auto found = handles_.find(handle);
  if (found == handles_.end()) {
    failure_ = "the codec used a released value";
    Stop();
  }
  ++found->second.refs;
}

void SilkHost::DecRef(uint32_t handle) {
  if (handle < kFirstFreeHandle) return;
  const auto found = handles_.find(handle);
  if (found == handles_.end()) {
    failure_ = "the codec released a value twice";
    Stop();
  }
  if (--found->second.refs == 0) {
    handles_.erase(found);
    free_handles_.push_back(handle);
  }
}

void SilkHost::RunDestructors(uint32_t) {
  // The glue only makes destructor lists for argument types with destructors
  // of their own, and no value that silk.wasm gets back from us has one.
  failure_ = "the codec asked to run destructors that were never made";
  Stop();
}

bool SilkHost::DoGetMethodCaller(uint32_t arg_count, uint32_t arg_types, uint32_t* id) {
  if (arg_count == 0) return Refuse("the codec asked for a caller without a return type");
  std::vector<uint32_t> types;
  for (uint32_t i = 0; i < arg_count; ++i) {
    uint32_t type;
    if (!LoadU32(uint64_t{arg_types} + 4 * i, &type)) return false;
    if (FindType(type) == nullptr) return Refuse("the codec called back with an unknown type");
    types.push_back(type);
  }
  // The callback returns nothing, which reaches the codec as the handle of
  // undefined; that is only right if it expects an emscripten::val.
  if (FindType(types[0])->kind != TypeKind::kVal) {
    return Refuse("the codec expects its callback to return " + FindType(types[0])->name);
  }
  *id = static_cast<uint32_t>(callers_.size());
  callers_.push_back(std::move(types));
  return true;
}

uint32_t SilkHost::GetMethodCaller(uint32_t arg_count, uint32_t arg_types) {
  uint32_t id = 0;
  if (!DoGetMethodCaller(arg_count, arg_types, &id)) Stop();
  return id;
}

bool SilkHost::ReadValue(uint32_t type, uint32_t address, Value* value) {
  const TypeInfo* info = FindType(type);
  if (info == nullptr) return Refuse("the codec passed a value of an unknown type");
  switch (info->kind) {
    case TypeKind::kMemoryView:
      // A memory view travels as [u32 length][u32 address].
      value->kind = Value::kMemoryView;
      return LoadU32(address, &value->view_length) && LoadU32(uint64_t{address} + 4,
                                                               &value->view_address);
    case TypeKind::kVal: {
      // An emscripten::val travels as its handle, which the receiver takes over.
      uint32_t handle;
      if (!LoadU32(address, &handle)) return false;
      const Value* held = Deref(handle);
      if (held == nullptr && handle != kUndefinedHandle) {
        return Refuse("the codec passed a released value");
      }
      *value = held ? *held : Value{};
      if (handle >= kFirstFreeHandle && --handles_[handle].refs == 0) {
        handles_.erase(handle);
        free_handles_.push_back(handle);
      }
      return true;
    }
    default:
      return Refuse("the codec passed a " + info->name + ", which this host does not take");
  }
}

bool SilkHost::DoCall(uint32_t caller, uint32_t handle, uint32_t args) {
  if (caller >= callers_.size()) return Refuse("the codec called back through an unknown caller");
  const Value* callee = Deref(handle);
  if (callee == nullptr || callee->kind != Value::kCallback) {
    return Refuse("the codec called something that is not its callback");
  }
  const std::vector<uint32_t>& types = callers_[caller];
  if (types.size() != 2) return Refuse("the codec called its callback with other arguments");
  // Every wire value takes 8 bytes of the argument pack.
  Value output;
  if (!ReadValue(types[1], args, &output)) return false;
  if (output.kind != Value::kMemoryView) {
    return Refuse("the codec called its callback with something other than its output");
  }
  if (!InMemory(output.view_address, output.view_length)) {
    return Refuse("the codec's output lies outside its memory");
  }
  // silk-wasm's callbacks copy the view (output.slice()); decode keeps only
  // a view that is not empty.
  if (output.view_length > 0 || !skip_empty_output_) {
    const uint8_t* begin = Memory().data + output.view_address;
    output_.assign(begin, begin + output.view_length);
  }
  return true;
}

double SilkHost::Call(uint32_t caller, uint32_t handle, uint32_t args) {
  if (!DoCall(caller, handle, args)) Stop();
  return kUndefinedHandle;
}

bool SilkHost::DoTakeValue(uint32_t type, uint32_t address, uint32_t* handle) {
  Value value;
  if (!ReadValue(type, address, &value)) return false;
  *handle = NewHandle(value);
  return true;
}

uint32_t SilkHost::TakeValue(uint32_t type, uint32_t address) {
  uint32_t handle = 0;
  if (!DoTakeValue(type, address, &handle)) Stop();
  return handle;
}

uint32_t SilkHost::ResizeHeap(uint32_t requested) {
  // Emscripten's policy (emscripten_resize_heap in the glue), step by step,
  // so the heap grows exactly as it does under Node: over-grow by 20%, but
  // by no more than 96 MiB past the request; if that much is refused, try
  // 10%, then 5%.
  const double old_size = static_cast<double>(Memory().size);
  const double wanted = requested;
  if (wanted > kHeapMax) {
    growth_refused_ = true;
    return 0;
  }
  for (double cut_down = 1; cut_down <= 4; cut_down *= 2) {
    double over_grown = old_size * (1 + 0.2 / cut_down);
    over_grown = std::min(over_grown, wanted + 100663296.0);
    const double new_size =
        std::min(kHeapMax, 65536 * std::ceil(std::max(wanted, over_grown) / 65536));
    // The glue's (newSize - byteLength + 65535) / 65536 | 0.
    const auto pages = static_cast<int64_t>((new_size - old_size + 65535) / 65536);
    if (pages >= 0 && wasm_rt_grow_memory(&Memory(), static_cast<uint64_t>(pages)) != UINT64_MAX) {
      return 1;
    }
  }
  growth_refused_ = true;
  return 0;
}

void SilkHost::Throw(uint32_t type) {
  thrown_type_ = type;
  failure_ = "the codec threw a C++ exception";
  Stop();
}

void SilkHost::Abort() {
  failure_ = "the codec aborted";
  Stop();
}

void SilkHost::Exit(uint32_t code) {
  failure_ = "the codec exited with status " + std::to_string(code);
  Stop();
}

void SilkHost::Instantiate(void* self) {
  auto* host = static_cast<SilkHost*>(self);
  wasm2c_silk_instantiate(&host->module_, &host->imports_);
  host->instantiated_ = true;
  // __wasm_call_ctors: the C++ constructors, which make embind's registrations.
  w2c_silk_y(&host->module_);
}

void SilkHost::Allocate(void* self) {
  // As the glue's std::string toWireType: malloc(4 + length + 1), with the
  // length in the first 4 bytes and the bytes after it.
  auto* host = static_cast<SilkHost*>(self);
  host->input_address_ = w2c_silk_A(&host->module_, host->input_bytes_ + 5);
}

void SilkHost::Invoke(void* self) {
  auto* host = static_cast<SilkHost*>(self);
  const FunctionInfo& function = *host->function_;
  // The callback is an emscripten::val, passed by handle (toWireType of the
  // glue's val type), which the C++ side releases when done with it.
  const uint32_t callback = host->NewHandle(Value{Value::kCallback});

  // The invoker, int(fn, std::string wire, int, val handle), as the glue
  // calls it through the table.
  const wasm_rt_funcref_table_t& table = *w2c_silk_D(&host->module_);
  const wasm_rt_func_type_t type = wasm2c_silk_get_func_type(
      4, 1, WASM_RT_I32, WASM_RT_I32, WASM_RT_I32, WASM_RT_I32, WASM_RT_I32);
  if (function.invoker >= table.size || table.data[function.invoker].func == nullptr ||
      table.data[function.invoker].func_type == nullptr ||
      std::memcmp(table.data[function.invoker].func_type, type, 32) != 0) {
    host->failure_ = "the codec's invoker is not of the expected type";
    host->Stop();
  }
  const wasm_rt_funcref_t& entry = table.data[function.invoker];
  using Invoker = uint32_t (*)(void*, uint32_t, uint32_t, uint32_t, uint32_t);
  host->result_ = static_cast<int32_t>(reinterpret_cast<Invoker>(entry.func)(
      entry.module_instance, function.function, host->input_address_,
      static_cast<uint32_t>(host->sample_rate_), callback));
}

void SilkHost::FreeInput(void* self) {
  // The std::string argument's destructor in the glue: free.
  auto* host = static_cast<SilkHost*>(self);
  w2c_silk_B(&host->module_, host->input_address_);
}

void SilkHost::NameThrownType(void* self) {
  // getTypeName (export z) returns a malloc'd name of the type.
  auto* host = static_cast<SilkHost*>(self);
  const uint32_t name = w2c_silk_z(&host->module_, *host->thrown_type_);
  if (!host->LoadString(name, &host->thrown_name_)) host->thrown_name_.clear();
  w2c_silk_B(&host->module_, name);
}

bool SilkHost::Guarded(void (*step)(void*), SilkOutcome* outcome) {
  const wasm_rt_trap_t trap = RunGuarded(step, this);
  if (trap == WASM_RT_TRAP_NONE) return true;
  if (trap != WASM_RT_TRAP_HOST) failure_ = std::string("the codec trapped: ") + TrapText(trap);
  if (thrown_type_ && instantiated_) {
    // Naming the type runs the module once more; a trap there only loses the name.
    // Naming the type runs the module once more; a failure there only loses the name.
    const std::string reason = failure_;
    const bool named = RunGuarded(NameThrownType, this) == WASM_RT_TRAP_NONE;
    thrown_type_.reset();
    failure_ = reason;
    if (named && !thrown_name_.empty()) failure_ += " (" + thrown_name_ + ")";
  }
  outcome->error = failure_;
  outcome->out_of_memory = growth_refused_ || trap == WASM_RT_TRAP_EXHAUSTION;
  outcome->memory_limit = MemoryLimitOfModule();
  return false;
}

bool SilkHost::CheckFunction(const char* name) {
  // The embind signature both functions have: int(std::string, int, val).
  const auto found = functions_.find(name);
  if (found == functions_.end()) return Refuse(std::string("the codec has no ") + name);
  const std::vector<uint32_t>& types = found->second.types;
  const TypeKind expected[] = {TypeKind::kInteger, TypeKind::kString, TypeKind::kInteger,
                               TypeKind::kVal};
  bool matches = types.size() == 4;
  for (size_t i = 0; matches && i < 4; ++i) {
    const TypeInfo* info = FindType(types[i]);
    matches = info != nullptr && info->kind == expected[i];
  }
  if (!matches) return Refuse(std::string(name) + " is not int(std::string, int, val)");
  function_ = &found->second;
  skip_empty_output_ = std::string(name) == "silk_decode";
  return true;
}

SilkOutcome SilkHost::Run(SilkCall call, size_t input_size, const InputWriter& write_input,
                          int32_t sample_rate) {
  SilkOutcome outcome;
  // The module's addresses are 32-bit, and the glue's length field too.
  if (input_size > 0xFFFFFFFFu - 5) {
    outcome.error = "the input is larger than the codec can address";
    outcome.out_of_memory = true;
    outcome.memory_limit = MemoryLimit();
    return outcome;
  }
  input_bytes_ = static_cast<uint32_t>(input_size);
  sample_rate_ = sample_rate;
  if (!Guarded(Instantiate, &outcome)) return outcome;
  if (!CheckFunction(call == SilkCall::kEncode ? "silk_encode" : "silk_decode")) {
    outcome.error = failure_;
    return outcome;
  }
  if (!Guarded(Allocate, &outcome)) return outcome;
  if (input_address_ == 0 || !InMemory(input_address_, uint64_t{input_bytes_} + 5)) {
    outcome.error = "the codec has no memory for an input of " + std::to_string(input_size) +
                    " bytes";
    outcome.out_of_memory = true;
    outcome.memory_limit = MemoryLimitOfModule();
    return outcome;
  }
  std::memcpy(Memory().data + input_address_, &input_bytes_, 4);
  if (std::string error = write_input(Memory().data + input_address_ + 4, input_size);
      !error.empty()) {
    outcome.error = std::move(error);
    return outcome;
  }
  if (!Guarded(Invoke, &outcome)) return outcome;
  if (!Guarded(FreeInput, &outcome)) return outcome;
  if (result_ == 0) {
    outcome.error = call == SilkCall::kEncode ? "the codec could not encode the input"
                                              : "the codec could not decode the input";
    return outcome;
  }
  outcome.ok = true;
  outcome.data = std::move(output_);
  return outcome;
}

SilkOutcome RunSilk(SilkCall call, size_t input_size, const InputWriter& write_input,
                    int32_t sample_rate) {
  InitRuntime();
  // The host is large only by its maps; on the heap it keeps the stack small.
  auto host = std::make_unique<SilkHost>();
  return host->Run(call, input_size, write_input, sample_rate);
}

}  // namespace tosilk::codec

// The imports themselves, with the C names and types of silk.h.
using tosilk::codec::TypeKind;

extern "C" {

void w2c_a_a(w2c_a* a, u32 type, u32, u32 name) { a->host->RegisterMemoryView(type, name); }
void w2c_a_b(w2c_a* a, u32 type, u32 name, u32, u32, u32) {
  a->host->RegisterType(type, name, TypeKind::kInteger);
}
void w2c_a_c(w2c_a* a, u32 name, u32 arg_count, u32 arg_types, u32, u32 invoker, u32 function,
             u32, u32) {
  a->host->RegisterFunction(name, arg_count, arg_types, invoker, function);
}
void w2c_a_d(w2c_a* a, u32 handle) { a->host->DecRef(handle); }
void w2c_a_e(w2c_a* a, u32 type, u32, u32 name) {
  a->host->RegisterType(type, name, TypeKind::kWideString);
}
void w2c_a_f(w2c_a* a, u32 type, u32) { a->host->RegisterVal(type); }
void w2c_a_g(w2c_a* a, u32 handle) { a->host->RunDestructors(handle); }
u32 w2c_a_h(w2c_a* a, u32 arg_count, u32 arg_types, u32) {
  return a->host->GetMethodCaller(arg_count, arg_types);
}
f64 w2c_a_i(w2c_a* a, u32 caller, u32 handle, u32, u32 args) {
  return a->host->Call(caller, handle, args);
}
u32 w2c_a_j(w2c_a* a, u32 type, u32 address) { return a->host->TakeValue(type, address); }
void w2c_a_k(w2c_a* a, u32 type, u32 name, u32) {
  a->host->RegisterType(type, name, TypeKind::kFloat);
}
void w2c_a_l(w2c_a* a, u32 type, u32 name, u32, u64, u64) {
  a->host->RegisterType(type, name, TypeKind::kBigInt);
}
void w2c_a_m(w2c_a* a, u32 type) { a->host->RegisterVal(type); }
void w2c_a_n(w2c_a* a, u32 type, u32 name) {
  a->host->RegisterType(type, name, TypeKind::kString);
}
void w2c_a_o(w2c_a* a, u32 type, u32 name, u32, u32) {
  a->host->RegisterType(type, name, TypeKind::kBool);
}
void w2c_a_p(w2c_a* a, u32 type, u32 name) { a->host->RegisterType(type, name, TypeKind::kVoid); }
void w2c_a_q(w2c_a* a, u32 handle) { a->host->IncRef(handle); }
void w2c_a_r(w2c_a* a, u32 code) { a->host->Exit(code); }
// Lets the runtime exit once idle; there is no runtime to keep alive here.
void w2c_a_s(w2c_a*) {}
// A timer the glue would start with setTimeout. The codec is done before any
// such timer would fire, so none is kept.
u32 w2c_a_t(w2c_a*, u32, f64) { return 0; }
void w2c_a_u(w2c_a* a, u32, u32 type, u32) { a->host->Throw(type); }
void w2c_a_v(w2c_a* a) { a->host->Abort(); }
u32 w2c_a_w(w2c_a* a, u32 requested) { return a->host->ResizeHeap(requested); }

}  // extern "C"
