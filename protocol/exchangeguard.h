#pragma once

// Sets a re-entry flag for the life of a scope and clears it however the scope ends.
class FlagGuard
{
public:
    explicit FlagGuard(bool &flag) : m_flag(flag) { m_flag = true; }
    ~FlagGuard() { m_flag = false; }
    FlagGuard(const FlagGuard &) = delete;
    FlagGuard &operator=(const FlagGuard &) = delete;

private:
    bool &m_flag;
};

// Counts one more running exchange of a kind that may nest, for the life of a scope.
class CountGuard
{
public:
    explicit CountGuard(int &count) : m_count(count) { ++m_count; }
    ~CountGuard() { --m_count; }
    CountGuard(const CountGuard &) = delete;
    CountGuard &operator=(const CountGuard &) = delete;

private:
    int &m_count;
};
