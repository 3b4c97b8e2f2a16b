#pragma once
// Schemas and the boundaries that link a child schema to its container.
//
// A schema creates its components (Create<T>), sets their properties, calls
// their initialisation, writes the links, and registers hints, in that
// order. It owns its components and destroys them in the reverse order of
// creation.

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "tabulo/runtime/event.h"
#include "tabulo/runtime/object.h"

class TControl;
class TKVContainer;

class TSchema : public TObject {
public:
    ~TSchema() override;

protected:
    template <class T, class... Args>
    T* Create(Args&&... args) {
        auto owned = std::make_unique<T>(std::forward<Args>(args)...);
        T* raw = owned.get();
        components_.push_back(std::move(owned));
        return raw;
    }

private:
    std::vector<std::unique_ptr<TObject>> components_;
};

// The component inside a child schema that stands for its container: input i
// of the container arrives at Inputs[i]; what the child fires into
// doOutput(i) leaves the container on its output i; getPull(i) answers from
// the container's pull point i. Pulls are the child's readable points that
// the container offers outward (getPull of the container).
class TKVBoundary : public TObject {
public:
    TKVBoundary(int inputs, int pulls) : Inputs(std::size_t(inputs)), Pulls(std::size_t(pulls)) {}

    TKVContainer* Container = nullptr;
    TSchema* Schema = nullptr;
    std::vector<TKV_Event> Inputs;
    std::vector<TKV_Event> Pulls;

    void doOutput(TData& value, uint16_t index);
    void getPull(TData& value, uint16_t index);
};

// Boundaries of the three containers; they differ only in their container.
class TKVEditMulti : public TKVBoundary {
public:
    using TKVBoundary::TKVBoundary;
};
class TKVEditMultiEx : public TKVBoundary {
public:
    using TKVBoundary::TKVBoundary;
};
class TKVEditPolyMulti : public TKVBoundary {
public:
    using TKVBoundary::TKVBoundary;
};

// Base of the child schemas of TKVMultiElement and TKVMultiElementEx.
class TClassMultiBase : public TSchema {
public:
    TKVBoundary* Boundary = nullptr;
};

// Base of page schemas (children of TKVPolymorphMulti).
class TClassPolyBase : public TSchema {
public:
    TKVEditPolyMulti* Boundary = nullptr;
    TControl* TopControl = nullptr;

    // The second construction step: the page's own contents. A factory may
    // build a page only as far as its container needs it without the
    // contents (its boundary, what names its tab); the container calls this
    // once, at once or later (TKVPolymorphMulti::ContentsLater). A page
    // built whole by its factory has nothing to add.
    virtual void BuildContents() {}
};

// A schema factory builds the child with (container, parent control, owner
// schema). The container keeps the schema and talks to it through its
// Boundary, which the schema must have set.
using TMultiFactory = std::unique_ptr<TClassMultiBase> (*)(TKVContainer* container,
                                                           TControl* parent, TObject* owner);
using TPolyFactory = std::unique_ptr<TClassPolyBase> (*)(TKVContainer* container, TControl* parent,
                                                         TObject* owner);

template <class Schema>
std::unique_ptr<TClassMultiBase> MakeMultiSchema(TKVContainer* container, TControl* parent,
                                                 TObject* owner) {
    return std::make_unique<Schema>(container, parent, owner);
}
template <class Schema>
std::unique_ptr<TClassPolyBase> MakePolySchema(TKVContainer* container, TControl* parent,
                                               TObject* owner) {
    return std::make_unique<Schema>(container, parent, owner);
}
