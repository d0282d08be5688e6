# Tests of the strength-class table.
