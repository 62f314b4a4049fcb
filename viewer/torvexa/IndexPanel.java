import java.awt.Color;
import java.awt.Dimension;
import java.awt.Image;
import java.awt.Insets;
import java.awt.Panel;

/**
 * The album index down the left side: one thumbnail button per picture, laid out
 * in the grid that gives the largest square buttons the panel's size allows.
 */
public class IndexPanel extends Panel {
  private static final long serialVersionUID = 1L;
  private static final int GAP = 4;
  private static final int WIDTH = 176;

  private final albumPictureButton[] buttons_;
  private int selected_ = -1;

  public IndexPanel(PhotoAlbum album, Image[] images, Color frame, Color highlight) {
    setLayout(null);
    setBackground(frame);
    buttons_ = new albumPictureButton[images.length];
    for (int i = 0; i < images.length; i++) {
      buttons_[i] = new albumPictureButton(album, i, images[i], highlight);
      buttons_[i].setBackground(frame);
      add(buttons_[i]);
    }
  }

  public int getButtonCount() { return buttons_.length; }
  public albumPictureButton getButton(int i) { return buttons_[i]; }
  public int getSelected() { return selected_; }

  /** Frames the button of picture i and unframes the one before. */
  public void select(int i) {
    if (selected_ >= 0 && selected_ < buttons_.length) buttons_[selected_].setSelected(false);
    selected_ = i;
    if (i >= 0 && i < buttons_.length) buttons_[i].setSelected(true);
  }

  @Override
  public Dimension getPreferredSize() {
    return new Dimension(WIDTH, 300);
  }

  @Override
  public Insets getInsets() {
    return new Insets(GAP, GAP, GAP, GAP);
  }

  @Override
  public void doLayout() {
    int n = buttons_.length;
    if (n == 0) return;
    Insets in = getInsets();
    int width = getWidth() - in.left - in.right;
    int height = getHeight() - in.top - in.bottom;
    int columns = bestColumns(n, width, height, GAP);
    int side = cellSide(n, columns, width, height, GAP);
    for (int i = 0; i < n; i++) {
      int row = i / columns;
      int column = i % columns;
      buttons_[i].setBounds(in.left + column * (side + GAP), in.top + row * (side + GAP), side, side);
    }
  }

  /** The column count that gives n square cells of the largest side in width x height. */
  public static int bestColumns(int n, int width, int height, int gap) {
    int best = 1;
    int bestSide = -1;
    for (int columns = 1; columns <= n; columns++) {
      int side = cellSide(n, columns, width, height, gap);
      if (side > bestSide) {
        bestSide = side;
        best = columns;
      }
    }
    return best;
  }

  private static int cellSide(int n, int columns, int width, int height, int gap) {
    int rows = (n + columns - 1) / columns;
    int byWidth = (width - (columns - 1) * gap) / columns;
    int byHeight = (height - (rows - 1) * gap) / rows;
    return Math.max(Math.min(byWidth, byHeight), 1);
  }
}
