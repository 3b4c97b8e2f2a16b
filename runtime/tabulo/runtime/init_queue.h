#pragma once
// The deferred initialisation queue.
//
// Components whose setup must wait until their whole schema exists queue a
// bound method from their constructor. RunInits runs the queue once at
// start-up, after InstallHooks; a child schema built later runs its own
// entries at once (see TKVMultiElement and friends).

#include <type_traits>

struct TInitMethod {
    using Thunk = void (*)(void* object);
    void* Object = nullptr;
    Thunk Code = nullptr;
};

namespace detail {
template <auto Method>
struct InitThunk;
template <class C, void (C::*Method)()>
struct InitThunk<Method> {
    using Class = C;
    static void call(void* object) { (static_cast<C*>(object)->*Method)(); }
};
}  // namespace detail

template <auto Method, class C>
TInitMethod BindInit(C* object) {
    using Owner = typename detail::InitThunk<Method>::Class;
    static_assert(std::is_base_of_v<Owner, C>);
    return {static_cast<void*>(static_cast<Owner*>(object)), &detail::InitThunk<Method>::call};
}

void AddInit(TInitMethod method);
template <auto Method, class C>
void AddInit(C* object) {
    AddInit(BindInit<Method>(object));
}
// Drops every queued entry of `object`; a component that queues an init
// calls this from its destructor so that a queue run never reaches it dead.
void RemoveInits(const void* object);
// Calls every queued method in the order added (entries added meanwhile run
// too), empties the queue and sets InitsDone.
void RunInits();
bool InitsDone();
void SetInitsDone(bool done);
// Number of entries waiting.
int PendingInits();
