#pragma once
// Links, the two global dispatchers, and the Fire / Read / Forward operations.
//
// A TKV_Event is a bound point method plus the 16-bit Index it is called
// with: an object pointer and a capture-less thunk made per member function.
// It is trivially copyable and never allocates. Every call along a link passes
// one of the two hook slots: EventCallHook for output points, DataReadHook for
// pull points. Both do nothing until InstallHooks and again after MuteHooks.

#include <cstdint>
#include <type_traits>

#include "tabulo/runtime/data.h"

struct TKV_Event {
    using Thunk = void (*)(void* object, TData& value, uint16_t index);
    void* Object = nullptr;
    Thunk Code = nullptr;
    uint16_t Index = 0;

    bool wired() const noexcept { return Code != nullptr; }
    void call(TData& value) const { Code(Object, value, Index); }
    friend bool operator==(const TKV_Event&, const TKV_Event&) = default;
};
static_assert(std::is_trivially_copyable_v<TKV_Event>);

namespace detail {
template <auto Method>
struct PointThunk;
template <class C, void (C::*Method)(TData&, uint16_t)>
struct PointThunk<Method> {
    using Class = C;
    static void call(void* object, TData& value, uint16_t index) {
        (static_cast<C*>(object)->*Method)(value, index);
    }
};
}  // namespace detail

// BindEvent<&TKVHub::doEvent>(hub, 0): a link to hub->doEvent with Index 0.
// The object may be of a class derived from the one that declares the method.
template <auto Method, class C>
TKV_Event BindEvent(C* object, uint16_t index = 0) {
    using Owner = typename detail::PointThunk<Method>::Class;
    static_assert(std::is_base_of_v<Owner, C>, "the method must belong to the object's class");
    return TKV_Event{static_cast<void*>(static_cast<Owner*>(object)),
                     &detail::PointThunk<Method>::call, index};
}

// The hook slots and the routines they may hold.
using THook = void (*)(const TKV_Event& link, TData& value);
extern THook EventCallHook;
extern THook DataReadHook;
void NoDispatch(const TKV_Event& link, TData& value);
// Calls the link, then follows forward marks in a loop, so chains of
// forwarding components never nest calls.
void ForwardingDispatcher(const TKV_Event& link, TData& value);
// Calls the link if it is wired; forward marks are not honoured.
void PlainReader(const TKV_Event& link, TData& value);
void InstallHooks();
void MuteHooks();

// Firing an output point.
inline void Fire(const TKV_Event& point, TData& value) { EventCallHook(point, value); }
void FireCopy(const TKV_Event& point, const TData& value);
void FireNull(const TKV_Event& point);
void FireInt(const TKV_Event& point, int32_t v);
void FireText(const TKV_Event& point, TText text);
void FireBitmap(const TKV_Event& point, TBitmap* bitmap);

// Reading a pull point. `incoming` is the value the current input point
// received: each Read falls back on it (and consumes it) when the point is
// unwired or answers Break and no non-empty default is given.
void ReadRaw(TData& value, const TKV_Event& point);
int32_t ReadInt(TData& incoming, const TKV_Event& point, int32_t def = 0);
TText ReadText(TData& incoming, const TKV_Event& point, const TText& def = TText());
TBitmap* ReadBitmap(TData& incoming, const TKV_Event& point, TBitmap* def = nullptr);
TData ReadValue(TData& incoming, const TKV_Event& point, const TData* def = nullptr);
int32_t PeekInt(const TKV_Event& point);
// Takes the incoming value: it becomes the next value of its chain, or NULL.
void Consume(TData& incoming);

// Forwarding, inside an input point: the dispatcher passes the value on to
// `target` after the handler returns.
inline void Forward(TData& value, const TKV_Event& target) {
    value.Tag |= ForwardFlag;
    value.ForwardTo = &target;
}
void ForwardCopy(TData& value, const TKV_Event& target, const TData& source);
void ForwardInt(TData& value, const TKV_Event& target, int32_t v);
void ForwardText(TData& value, const TKV_Event& target, TText text);
