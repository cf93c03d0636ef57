"""libVoshape, the shape editor's selection model, on its example application: build a scene,
select shapes, points and handles, keep the application's selection in step, batch, undo and
redo. The classes and functions are those of the compiled module voshape._voshape, under this
package's name."""

from . import _voshape
from ._voshape import *  # noqa: F401,F403 (the module's public names are this package's)
from ._voshape import __version__  # noqa: F401

# Classes read as voshape.X (in reprs, and in pickles, which then load whatever the layout).
for _name in dir(_voshape):
    _value = getattr(_voshape, _name)
    if isinstance(_value, type) and _value.__module__ == _voshape.__name__:
        _value.__module__ = __name__
del _name, _value
