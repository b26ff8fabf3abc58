#pragma once
// The numbers an order names its things by (OrderName, play/Order.h): worked
// out from the things themselves when an order is kept in a recording, and
// the things found again from them when a kept order is given.

struct Order;
class Play;

// The order with each thing it has by handle named by its numbers instead
// and the handles dropped, as a recording keeps it. A thing the world does
// not hold (one the editor has just made) is named by nothing.
Order NumberedOrder(const Play& play, const Order& order);
// Gives each thing the order names only by numbers its handle, as the world
// now holds it; false, leaving the rest as it was, when numbers name nothing.
bool FindNumberedThings(const Play& play, Order& order);
