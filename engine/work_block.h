#pragma once
// A large block of doubles handed from one engine run to the next. Its pages are already in the
// process; a fresh block of the same size would have to be faulted in page by page again, which
// on some machines costs more than the transform that fills it.

#include <cstddef>
#include <cstdlib>
#include <utility>

class WorkBlock {
public:
    WorkBlock() = default;
    WorkBlock(double* data, size_t doubles) : data_(data), doubles_(data ? doubles : 0) {}
    ~WorkBlock() { std::free(data_); }
    WorkBlock(WorkBlock&& other) noexcept : data_(other.data_), doubles_(other.doubles_) { other.Forget(); }
    WorkBlock& operator=(WorkBlock&& other) noexcept
    {
        std::swap(data_, other.data_);
        std::swap(doubles_, other.doubles_);
        return *this;
    }
    WorkBlock(const WorkBlock&) = delete;
    WorkBlock& operator=(const WorkBlock&) = delete;

    size_t Doubles() const { return doubles_; }
    // The block, to be freed with std::free by the caller; this object is left empty.
    double* Release()
    {
        double* data = data_;
        Forget();
        return data;
    }

private:
    void Forget()
    {
        data_ = nullptr;
        doubles_ = 0;
    }
    double* data_ = nullptr;
    size_t doubles_ = 0;
};
