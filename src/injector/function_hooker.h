#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>
#include <list>
#include <memory>

#include "injector/branch.h"
#include "injector/scoped.h"
#include "platform/address.h"
#include "platform/callconv.h"

// Interception of one host call site: the site is redirected to a dispatcher of the site's
// calling convention, which runs the interceptors registered at the site around the host
// function the site called before.

namespace injector {

// The calling convention of the host function at a site.
struct cdecl_form {
    template <class R, class... A>
    using pointer = R(KH_CDECL*)(A...);
};

// The first argument travels in ECX as the object pointer; the callee removes the rest.
struct thiscall_form {
    template <class R, class... A>
    using pointer = R(KH_THISCALL*)(A...);
};

template <uint32_t Site, class Form, class Signature>
class function_hooker_manager;

// One per site, shared by the site's hookers. Holds the site's former bytes and the
// interceptors in the order they were added.
template <uint32_t Site, class Form, class R, class... A>
class function_hooker_manager<Site, Form, R(A...)> : public scoped_call {
    static_assert(host_returnable<R>, "no structure results across the host boundary");

    struct entry;
    using entry_list = std::list<entry>;
    using position = typename entry_list::const_iterator;

public:
    // The next-inner call at the site, as an interceptor receives it: the interceptor
    // added before this one, or the host function for the first. Made on the stack per
    // call; it owns nothing.
    class next_call {
    public:
        next_call(const function_hooker_manager& manager, position current)
            : manager(&manager), current(current)
        {
        }
        R operator()(A... a) const { return manager->call_inside(current, a...); }

    private:
        const function_hooker_manager* manager;
        position current;
    };

    using interceptor_type = std::function<R(next_call, A...)>;

    // Created at the first use, shared by handle until the last hooker lets go.
    static const std::shared_ptr<function_hooker_manager>& instance()
    {
        static const std::shared_ptr<function_hooker_manager> shared =
            std::make_shared<function_hooker_manager>();
        return shared;
    }

    ~function_hooker_manager() override
    {
        entries.clear();
        scoped_basic<5>::restore();
    }

    void restore() override
    {
        if (!hooked)
            return;
        hooked = false;
        entries.clear();
        scoped_basic<5>::restore();
    }

    // Adds or replaces the interceptor of key; the first one redirects the site.
    void add(const scoped_base* key, interceptor_type interceptor, uint32_t dispatcher)
    {
        if (entry* e = find(key))
            e->interceptor = std::move(interceptor);
        else
            entries.push_back({key, std::move(interceptor)});
        if (!hooked) {
            save(Site, 5, true);
            former = redirect_call(Site, dispatcher);
            hooked = true;
        }
    }

    // Registers to with the interceptor of from; false when from has none.
    bool copy_entry(const scoped_base* from, const scoped_base* to)
    {
        entry* e = find(from);
        if (!e)
            return false;
        entries.push_back({to, e->interceptor});
        return true;
    }

    // Removes the interceptor of key; the last one out gives the site its bytes back.
    void remove(const scoped_base* key)
    {
        for (auto it = entries.begin(); it != entries.end(); ++it) {
            if (it->key == key) {
                entries.erase(it);
                if (entries.empty())
                    restore();
                return;
            }
        }
    }

    // What the dispatcher does: the most recently added interceptor runs outermost.
    R call(A... a) const
    {
        if (entries.empty())
            return former_function()(a...);
        position last = std::prev(entries.end());
        return last->interceptor(next_call(*this, last), a...);
    }

    uint32_t former_destination() const { return former; }
    bool is_hooked() const { return hooked; }
    std::size_t size() const { return entries.size(); }

private:
    struct entry {
        const scoped_base* key;
        interceptor_type interceptor;
    };

    entry* find(const scoped_base* key)
    {
        for (entry& e : entries)
            if (e.key == key)
                return &e;
        return nullptr;
    }

    R call_inside(position current, A... a) const
    {
        if (current == entries.begin())
            return former_function()(a...);
        position inner = std::prev(current);
        return inner->interceptor(next_call(*this, inner), a...);
    }

    typename Form::template pointer<R, A...> former_function() const
    {
        return pointerTo<typename Form::template pointer<R, A...>>(former);
    }

    uint32_t former = 0;
    entry_list entries;
    bool hooked = false;
};

template <uint32_t Site, class Form, class Signature>
class function_hooker_base;

// One interceptor at a site, registered with the site's manager under the hooker itself.
template <uint32_t Site, class Form, class R, class... A>
class function_hooker_base<Site, Form, R(A...)> : public scoped_base {
public:
    using manager_type = function_hooker_manager<Site, Form, R(A...)>;
    using next_call = typename manager_type::next_call;
    using interceptor_type = typename manager_type::interceptor_type;

    function_hooker_base() : manager(manager_type::instance()) {}

    // A copy intercepts like its original, under its own key.
    function_hooker_base(const function_hooker_base& other) : manager(other.manager)
    {
        hooked = manager->copy_entry(&other, this);
    }
    function_hooker_base& operator=(const function_hooker_base&) = delete;

    ~function_hooker_base() override
    {
        hooked = false;
        manager->remove(this);
        manager.reset();
    }

    void restore() override
    {
        hooked = false;
        manager->remove(this);
    }

    virtual void hook(interceptor_type interceptor) = 0;

    bool is_hooked() const { return hooked; }

protected:
    void hook_with(interceptor_type interceptor, uint32_t dispatcher)
    {
        hooked = true;
        manager->add(this, std::move(interceptor), dispatcher);
    }

    bool hooked = false;
    std::shared_ptr<manager_type> manager;
};

template <uint32_t Site, class Signature>
class function_hooker;

template <uint32_t Site, class R, class... A>
class function_hooker<Site, R(A...)> : public function_hooker_base<Site, cdecl_form, R(A...)> {
    using base = function_hooker_base<Site, cdecl_form, R(A...)>;

public:
    using typename base::interceptor_type;

    void hook(interceptor_type interceptor) override
    {
        this->hook_with(std::move(interceptor), addressOf(&dispatch));
    }

private:
    KH_CDECL static R dispatch(A... a) noexcept
    {
        return base::manager_type::instance()->call(a...);
    }
};

template <uint32_t Site, class Signature>
class function_hooker_thiscall;

template <uint32_t Site, class R, class... A>
class function_hooker_thiscall<Site, R(A...)>
    : public function_hooker_base<Site, thiscall_form, R(A...)> {
    using base = function_hooker_base<Site, thiscall_form, R(A...)>;

public:
    using typename base::interceptor_type;

    void hook(interceptor_type interceptor) override
    {
        this->hook_with(std::move(interceptor), addressOf(&dispatch));
    }

private:
    KH_THISCALL static R dispatch(A... a) noexcept
    {
        return base::manager_type::instance()->call(a...);
    }
};

// The installed hookers of one site, alive until the plug-in is unloaded. A list, because
// a hooker's address is its key with the manager, so it must never move. First used after
// the site's manager exists, it is destroyed before it: its hookers leave, and the site
// gets its former bytes back.
template <class Hooker>
std::list<Hooker>& hooker_store()
{
    static std::list<Hooker> store;
    return store;
}

// Hooks the site and keeps the hooker for good: the stored copy registers itself before
// the temporary leaves, so the site is never restored in between.
template <class Hooker>
void install_hooker(typename Hooker::interceptor_type interceptor)
{
    Hooker hooker;
    hooker.hook(std::move(interceptor));
    hooker_store<Hooker>().push_back(hooker);
}

} // namespace injector
