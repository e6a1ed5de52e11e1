#pragma once

// `atoi` semantics without undefined behaviour: leading blanks, optional sign, decimal digits;
// anything else gives 0, values beyond the int range are clamped. Null gives 0. The command
// line and the rule lines read their whole numbers with it.
int ReadLeadingInt(const char* text);
