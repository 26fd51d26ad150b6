// The namespace of the model's inline arithmetic, inline within full_model so
// that callers name it as full_model::. The vector units' files, built with
// their own instruction sets, name a namespace of their own: no out-of-line
// copy of an inline function compiled with those instructions can then stand
// in, at link time, for the copy that another file calls.
#ifndef WHEELSOIL_FULL_MODEL_ARITH_NAMESPACE_H
#define WHEELSOIL_FULL_MODEL_ARITH_NAMESPACE_H

#ifndef WHEELSOIL_ARITH_NAMESPACE
#define WHEELSOIL_ARITH_NAMESPACE arith
#endif

#endif
