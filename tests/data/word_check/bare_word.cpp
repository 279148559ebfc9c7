// A bare word number passed to an accessor: the word check refuses it.
void f(Tpcm& t) { t.i(699) = 0; }
