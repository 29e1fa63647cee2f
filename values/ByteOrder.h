// SPDX-License-Identifier: MIT
#pragma once
// The order a device keeps the bytes of a value in memory: the SVD file's
// <cpu><endian>, little when the file does not say.
enum class ByteOrder { Little, Big };
