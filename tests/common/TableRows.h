#pragma once

// A test table kept as plain rows: each QtTest row is an index into it.
#include <QtTest>

template <typename Row, size_t N> void AddRows(const Row (&rows)[N])
{
    QTest::addColumn<int>("row");
    for (size_t i = 0; i < N; ++i)
        QTest::newRow(rows[i].name) << int(i);
}

// The entry of the table that the current QtTest row stands for.
template <typename Row, size_t N> const Row &CurrentRow(const Row (&rows)[N])
{
    QFETCH(int, row);
    return rows[row];
}
